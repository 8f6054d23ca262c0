#include "program/Program.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "TempDir.h"

namespace lanzhou::program {
namespace {

TEST(SettingsFile, BesideTheProgramUnlessThatFolderCannotTakeIt) {
  const struct {
    SettingsFileChoice where;
    std::set<std::string> writable;
    std::string expected;
  } cases[] = {
      {{"/opt/lz", "/x", "/home/u"}, {"/opt/lz/s.ini"}, "/opt/lz/s.ini"},
      {{"/usr/bin", "", "/home/u"}, {}, "/home/u/.config/lanzhou/s.ini"},
      {{"/usr/bin", "", "/root"}, {"/usr/bin/s.ini"}, "/root/.config/lanzhou/s.ini"},  // as root
      {{"/usr2/lz", "", "/h"}, {"/usr2/lz/s.ini"}, "/usr2/lz/s.ini"},
      {{"/usr/bin", "/cfg", "/home/u"}, {}, "/cfg/lanzhou/s.ini"},
      {{"/usr/bin", "rel", "/home/u"}, {}, "/home/u/.config/lanzhou/s.ini"},  // not absolute
      {{"/usr/bin", "", ""}, {}, "/usr/bin/s.ini"},  // nowhere better: try beside it
      {{"", "/cfg", "/home/u"}, {}, "/s.ini"},
  };
  for (const auto& c : cases) {
    const auto writable = [&](const std::string& p) { return c.writable.count(p) > 0; };
    EXPECT_EQ(ChooseSettingsFile(c.where, "s.ini", writable), c.expected) << c.where.programFolder;
  }
}

TEST(Program, StartsWithTheGivenSettingsFileAndMakesArticlePathsAbsolute) {
  std::string error;
  const auto program = Program::Start(error, std::string("/tmp/x.ini"));
  ASSERT_NE(program, nullptr) << error;
  EXPECT_EQ(program->settingsFile(), "/tmp/x.ini");

  testing::TempDir dir;
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  const auto paths = program->ArticlePathsOf({"a.txt", "./sub/../b.txt", "/abs/c.txt"});
  ASSERT_EQ(::chdir(cwd), 0);
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[0].native, dir.path() + "/a.txt");
  EXPECT_EQ(paths[1].native, dir.path() + "/b.txt");
  EXPECT_EQ(paths[2].native, "/abs/c.txt");
  EXPECT_EQ(paths[2].text, "/abs/c.txt");
}

}  // namespace
}  // namespace lanzhou::program
