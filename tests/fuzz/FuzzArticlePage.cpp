// A whole LoadArticle and page fill: three articles of any bytes and names, any template and
// options, run on an in-memory disk. The run ends, touches only its own folder, leaves every
// article as it was, lists every article in the index under a link no browser misreads; and the
// random fill gives the bytes of its plain definition.
#include <fuzzer/FuzzedDataProvider.h>

#include "FakeClock.h"
#include "FakeFileSystem.h"
#include "FuzzSupport.h"
#include "ScriptedRunHost.h"
#include "generation/ArticleLoader.h"
#include "generation/GenerationRun.h"
#include "generation/RandomFill.h"
#include "settings/PlainSettings.h"
#include "text/GbkLiterals.h"
#include "text/TextOps.h"

using namespace lanzhou;

namespace {

// A file name the OS could hold: no "/" and no NUL, not "." or "..", not empty.
std::string FileName(std::string name) {
  std::erase(name, '/');
  std::erase(name, '\0');
  if (name.empty() || name == "." || name == "..") name += "a";
  return name;
}

void CheckRandomFill(FuzzedDataProvider& in) {
  std::string page = in.ConsumeRandomLengthString(64);
  std::vector<std::string> titles, links;
  for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k) {
    titles.push_back(in.ConsumeRandomLengthString(16));
    links.push_back(in.ConsumeRandomLengthString(8));
  }
  std::string expected = page;
  for (std::size_t k = 0; k < titles.size(); ++k) {
    text::ReplaceFirst(expected, text::kPhRandomTitle, titles[k]);
    text::ReplaceFirst(expected, text::kPhRandomLink, links[k]);
  }
  generation::FillRandomPlaceholders(page, titles, links, nullptr);
  FUZZ_CHECK(page == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  CheckRandomFill(in);

  settings::PlainSettings settings;
  auto& v = settings.values;
  v.fileEncoding = in.ConsumeIntegralInRange(0, 3);
  v.titleSource = in.ConsumeIntegralInRange(0, 3);
  v.stripFirstLine = in.ConsumeBool();
  v.takeMiddleContent = in.ConsumeBool();
  v.keepBodyWhenEmpty = in.ConsumeBool();
  v.useExtension = in.ConsumeBool();
  v.extension = in.ConsumeRandomLengthString(4);
  v.makeIndex = in.ConsumeBool();
  v.pageSizeText = std::to_string(in.ConsumeIntegralInRange(0, 3));
  v.templateTexts[0] = in.ConsumeRandomLengthString(200);
  v.selectedTemplate = 0;

  testing::FakeFileSystem files;
  testing::FakeClock clock;
  platform::Platform platform{fuzz::TheCodec(), files, clock};
  testing::ScriptedRunHost host;
  generation::ArticlePaths paths;
  for (int i = 0; i < 3; ++i) {
    const std::string native = "/site/" + FileName(in.ConsumeRandomLengthString(12));
    files.Add(native, in.ConsumeRandomLengthString(300));
    paths.push_back({fuzz::TheCodec().FileNameToGbk(native), native});
  }
  const auto articles = files.files;

  generation::RunContext ctx{settings, platform, host, nullptr, 1};
  const generation::RunResult r = generation::RunGeneration(paths, ctx);

  FUZZ_CHECK(r.ran && r.articles == 3 && host.reports.size() == 1);
  for (const auto& [path, bytes] : articles) FUZZ_CHECK(files.files.at(path) == bytes);
  const std::string out = paths[0].native.substr(0, paths[0].native.rfind('/') + 1) +
                          fuzz::TheCodec().GbkToFileName(text::kOutputFolderName) + "/";
  for (const auto& path : files.written) FUZZ_CHECK(path.starts_with(out));
  for (const auto& f : r.failures) {
    if (f.reason != text::kReasonReplaced && f.reason != text::kReasonIsArticle &&
        f.reason != text::kReasonBadPageName) {
      std::fprintf(stderr, "failure: %s: %s\n", f.path.c_str(), f.reason.c_str());
    }
    FUZZ_CHECK(f.reason == text::kReasonReplaced || f.reason == text::kReasonIsArticle ||
               f.reason == text::kReasonBadPageName);
  }

  if (v.makeIndex && r.writeFailures == 0) {
    std::string index;
    for (const auto& [path, bytes] : files.files) {
      if (path.starts_with(out + "index")) index += bytes;
    }
    generation::LoaderContext loader{platform};
    for (const auto& p : paths) {
      const std::string link = text::LinkTarget(generation::LoadArticle(p, settings, loader).pageName);
      FUZZ_CHECK(link.find_first_of("#?\"") == std::string::npos);
      FUZZ_CHECK(index.find("<a href=\"" + link + "\">") != std::string::npos || r.replacedPages > 0);
    }
  }
  return 0;
}
