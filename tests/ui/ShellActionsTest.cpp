#include <gtest/gtest.h>

#include <QStringList>

#include "GbkText.h"
#include "ui/QtDesktop.h"
#include "ui/ShellActions.h"

namespace lanzhou::testing {
namespace {

TEST(OpenInFileManager, BuildsTheCommandLineForEachOption) {
  struct Case {
    const char* path;
    bool newWindow, openTarget, asRoot;
    bool startsProgram;
    const char* commandLine;
  };
  const Case cases[] = {
      {"C:\\out\\", true, false, false, false, "explorer /n,/select,\"C:\\out\\\""},
      {"C:\\out\\", true, true, false, false, "explorer /n,\"C:\\out\\\""},
      {"C:\\a\\b\\c", true, false, true, false, "explorer /n,/root,\"C:\\a\\b\""},
      {"C:\\a\\b\\c", true, true, true, false, "explorer /n,/root,\"C:\\a\\b\""},
      {"C:\\a\\b\\", false, false, true, false, "explorer /e,/root,\"C:\\a\\b\""},
      {"C:\\a\\f.txt", false, false, false, false, "explorer /e,/select,\"C:\\a\\f.txt\""},
      {"C:\\a", false, true, false, false, "explorer /e,\"C:\\a\""},
      {"noslash", false, false, true, false, "explorer /e,/root,\"noslash\""},
      {"C:\\tools\\Setup.EXE", true, true, false, true, "C:\\tools\\Setup.EXE"},
      {"C:\\tools\\setup.exe", true, false, false, false, "explorer /n,/select,\"C:\\tools\\setup.exe\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ui::FileManagerCommand cmd = ui::OpenInFileManager(c.path, c.newWindow, c.openTarget, c.asRoot);
    EXPECT_EQ(cmd.startsProgram, c.startsProgram);
    EXPECT_EQ(cmd.commandLine, c.commandLine);
  }
}

TEST(OpenInFileManager, CutsAtABackslashOnlyBetweenCharacters) {
  // A folder named by one GBK character whose second byte is 0x5C, the backslash.
  const std::string path = "C:\\\x81\x5C\\sub";
  EXPECT_EQ(ui::OpenInFileManager(path, true, false, true).commandLine,
            "explorer /n,/root,\"C:\\\x81\x5C\"");
  EXPECT_EQ(ui::OpenInFileManager("C:\\\x81\x5C", true, false, true).commandLine,
            "explorer /n,/root,\"C:\"");
}

TEST(OpenInFileManager, ShowModeIsKeptInItsRange) {
  EXPECT_EQ(ui::ClampShowMode(0), 1);
  EXPECT_EQ(ui::ClampShowMode(2), 2);
  EXPECT_EQ(ui::ClampShowMode(9), 6);
}

TEST(QtFileFilters, TurnsDescriptionPatternPairsIntoQtFilters) {
  EXPECT_EQ(ui::QtFileFilters(QStringLiteral("htm;html文件|*.htm;*.html|txt文件|*.txt|全部文件|*.*")),
            (QStringList{QStringLiteral("htm;html文件 (*.htm *.html)"), QStringLiteral("txt文件 (*.txt)"),
                         QStringLiteral("全部文件 (*.*)")}));
}

}  // namespace
}  // namespace lanzhou::testing
