// Shared by the generation tests: GBK from UTF-8 literals, and runs on a fake file system.
#pragma once

#include <string>
#include <string_view>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "GbkText.h"
#include "ScriptedRunHost.h"
#include "TempDir.h"
#include "generation/GenerationRun.h"
#include "text/Gbk.h"
#include "platform/Codec.h"
#include "settings/PlainSettings.h"

namespace lanzhou::testing {


inline generation::ArticlePath PathOf(const std::string& native) {
  return {TestCodec().FileNameToGbk(native), native};
}

inline const std::string kOut = "/site/" + TestCodec().GbkToFileName(G("模板生成目录")) + "/";

// One run over a fake file system; articles live in /site.
struct FakeRun {
  FakeFileSystem files;
  FakeClock clock;
  platform::Platform platform{TestCodec(), files, clock};
  ScriptedRunHost host;
  settings::PlainSettings settings;
  generation::ArticlePaths paths;
  bool reuseTitles = true;

  void AddArticle(const std::string& name, std::string_view bytes) {
    files.Add("/site/" + name, std::string(bytes));
    paths.push_back(PathOf("/site/" + name));
  }
  generation::RunResult Run(generation::TitleRewriter* titles = nullptr,
                            std::uint64_t seed = 7) {
    generation::RunContext ctx{settings, platform, host, titles, seed, reuseTitles};
    return generation::RunGeneration(paths, ctx);
  }
  std::string Page(const std::string& name) const {
    auto it = files.files.find(kOut + name);
    return it == files.files.end() ? std::string("<missing>") : it->second;
  }
  // The whole template, in UTF-8 for readability.
  void SetTemplate(std::string_view utf8) {
    settings.values.templateTexts[0] = G(utf8);
    settings.values.selectedTemplate = 0;
  }
};

// One run on the real file system, in a fresh folder: for what the fake cannot show (encodings
// read from disk, pages replaced on a rerun, links resolving to files).
struct DiskRun {
  TempDir dir;
  platform::LocalFileSystem files;
  FakeClock clock;
  platform::Platform platform{TestCodec(), files, clock};
  ScriptedRunHost host;
  settings::PlainSettings settings;

  generation::RunResult Run(const generation::ArticlePaths& paths, std::uint64_t seed = 1) {
    generation::RunContext ctx{settings, platform, host, nullptr, seed};
    return generation::RunGeneration(paths, ctx);
  }
  std::string OutputFolder() const {
    return dir.path() + "/" + TestCodec().GbkToFileName(G("模板生成目录"));
  }
};

}  // namespace lanzhou::testing
