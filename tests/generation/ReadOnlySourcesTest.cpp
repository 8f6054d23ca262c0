// Sources are never written: every kind of run over articles, templates and a settings file
// that are read-only (by mode, and by a guard even root cannot get round), then the same
// checksums as before and not one write aimed at them.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "FileBytes.h"
#include "GenerationTestSupport.h"
#include "GuardedFileSystem.h"
#include "settings/SettingsFile.h"

namespace lanzhou::generation {
namespace {

namespace fs = std::filesystem;
using testing::G;

// Path -> content and mode, for every file under `root` but the output folders.
std::map<std::string, std::pair<std::string, unsigned>> Snapshot(const fs::path& root) {
  std::map<std::string, std::pair<std::string, unsigned>> files;
  const std::string out = testing::TestCodec().GbkToFileName(G("模板生成目录"));
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    if (it->is_directory() && it->path().filename() == out) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file()) continue;
    struct stat st{};
    ::stat(it->path().c_str(), &st);
    files[it->path().string()] = {testing::ReadBytes(it->path()), st.st_mode};
  }
  return files;
}

TEST(ReadOnlySources, NoRunWritesAnArticleATemplateOrTheSettingsFile) {
  testing::TempDir dir;
  const fs::path root = dir.path();
  const fs::path source = LANZHOU_SOURCE_DIR;
  for (const char* encoding : {"gbk", "utf8", "utf16le"}) {
    fs::copy(source / "tests/fixtures/run" / encoding, root / encoding);
  }
  fs::copy(source / "examples/articles", root / "examples", fs::copy_options::recursive);
  fs::remove_all(root / "examples" / testing::TestCodec().GbkToFileName(G("模板生成目录")));
  // Articles kept inside an earlier output folder, and the template and settings beside them.
  const fs::path inside = root / "gbk" / testing::TestCodec().GbkToFileName(G("模板生成目录"));
  fs::create_directory(inside);
  fs::copy_file(root / "gbk/02.txt", inside / "02.txt");
  fs::copy_file(source / "tests/fixtures/run/template.htm", root / "template.htm");
  testing::GuardedFileSystem files;
  settings::PlainSettings saved;
  saved.values.makeIndex = true;
  ASSERT_TRUE(settings::SaveSettingsFile(files, (root / "settings.ini").string(), saved.values));

  const auto before = Snapshot(root);
  for (const auto& [path, _] : before) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    files.Guard(path);
  }
  const auto readOnly = Snapshot(root);

  testing::FakeClock clock;
  platform::Platform platform{testing::TestCodec(), files, clock};
  testing::ScriptedRunHost host;
  int runs = 0;
  const struct {
    const char* folder;
    FileEncoding encoding;
  } folders[] = {{"gbk", FileEncoding::AnsiGbk}, {"utf8", FileEncoding::Utf8},
                 {"utf16le", FileEncoding::Unicode}, {"examples", FileEncoding::AnsiGbk}};
  for (const auto& f : folders) {
    for (int titleSource = 0; titleSource < 3; ++titleSource) {
      for (const bool twice : {false, true}) {  // a rerun over the pages of the first
        settings::PlainSettings s;
        ASSERT_EQ(settings::LoadSettingsFile(files, (root / "settings.ini").string(), s.values),
                  settings::SettingsFileLoad::Loaded);
        s.values.fileEncoding = static_cast<int>(f.encoding);
        s.values.titleSource = titleSource;
        s.values.takeMiddleContent = titleSource != 1;
        s.values.useExtension = titleSource == 2;
        s.values.pageSizeText = "2";
        s.values.templateTexts[2] = *files.ReadWholeFile((root / "template.htm").string());
        s.values.selectedTemplate = twice ? 0 : 2;
        ArticlePaths paths;
        for (const auto& e : fs::directory_iterator(root / f.folder)) {
          if (e.is_regular_file()) paths.push_back(testing::PathOf(e.path().string()));
        }
        if (std::string(f.folder) == "gbk") paths.push_back(testing::PathOf((inside / "02.txt").string()));
        RunContext ctx{s, platform, host, nullptr, 1};
        const RunResult r = RunGeneration(paths, ctx);
        EXPECT_EQ(r.articles, paths.size());
        ++runs;
      }
    }
  }
  EXPECT_EQ(runs, 24);
  EXPECT_EQ(files.attempts, std::vector<std::string>{});
  EXPECT_EQ(Snapshot(root), readOnly);
  for (const auto& [path, content] : before) EXPECT_EQ(readOnly.at(path).first, content.first) << path;
}

}  // namespace
}  // namespace lanzhou::generation
