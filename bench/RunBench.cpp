// The whole page run on synthetic corpora, and the text operations it leans on.
//
//   build/default/bench/lanzhou-bench --benchmark_repetitions=5
//
// The corpora are written once into a temporary folder; each iteration runs the generation
// over the same folder, so from the second iteration on the pages already exist (a rerun).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "bench/Corpus.h"
#include "generation/GenerationRun.h"
#include "generation/RandomFill.h"
#include "platform/Codec.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"
#include "settings/PlainSettings.h"

namespace lanzhou::bench {
namespace {

class QuietHost final : public generation::RunHost {
 public:
  void ShowProgress(std::size_t, std::size_t, std::string_view) override {}
  void RestoreCaption() override {}
  void ProcessEvents() override {}
  bool StopRequested() override { return false; }
  generation::Answer AskCompletion(std::string_view) override { return generation::Answer::Cancel; }
  void OpenFolder(std::string_view, const std::string&) override {}
  void CopyToClipboard(std::string_view, const std::string&) override {}
};

const platform::Codec& Codec() {
  static const platform::Codec codec;
  return codec;
}

std::string BenchRoot() {
  static const std::string root = [] {
    std::string t = (std::filesystem::temp_directory_path() / "lanzhou-bench-XXXXXX").string();
    return std::string(::mkdtemp(t.data()));
  }();
  return root;
}

const generation::ArticlePaths& Corpus(std::size_t n, generation::FileEncoding enc) {
  static std::map<std::pair<std::size_t, int>, generation::ArticlePaths> cache;
  auto& paths = cache[{n, static_cast<int>(enc)}];
  if (paths.empty()) {
    CorpusOptions o;
    o.articles = n;
    o.encoding = enc;
    const std::string folder = BenchRoot() + "/c" + std::to_string(n) + "-" + std::to_string(static_cast<int>(enc));
    for (const auto& p : WriteCorpus(folder, o, Codec())) paths.push_back({Codec().FileNameToGbk(p), p});
  }
  return paths;
}

// Default template 1: six placeholders, the body, five random links; index pages on.
void BM_Run(benchmark::State& state, generation::FileEncoding enc) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const auto& paths = Corpus(n, enc);
  platform::LocalFileSystem files;
  platform::SteadyClock clock;
  platform::Platform p{Codec(), files, clock};
  QuietHost host;
  settings::PlainSettings s;
  s.values.fileEncoding = static_cast<int>(enc);
  s.values.makeIndex = true;
  for (auto _ : state) {
    generation::RunContext ctx{s, p, host, nullptr, 1};
    benchmark::DoNotOptimize(generation::RunGeneration(paths, ctx));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}
BENCHMARK_CAPTURE(BM_Run, gbk, generation::FileEncoding::AnsiGbk)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Run, utf8, generation::FileEncoding::Utf8)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Run, utf16le, generation::FileEncoding::Unicode)->Arg(2000)->Unit(benchmark::kMillisecond);

// First run into an empty output folder against a rerun over existing pages.
void BM_FirstRunVsRerun(benchmark::State& state) {
  const bool rerun = state.range(0) != 0;
  const auto& paths = Corpus(2000, generation::FileEncoding::AnsiGbk);
  const std::string out = std::string(generation::ParentFolder(paths[0].native)) + "/" +
                          Codec().GbkToFileName(text::kOutputFolderName);
  platform::LocalFileSystem files;
  platform::SteadyClock clock;
  platform::Platform p{Codec(), files, clock};
  QuietHost host;
  settings::PlainSettings s;
  for (auto _ : state) {
    if (!rerun) {
      state.PauseTiming();
      std::filesystem::remove_all(out);
      state.ResumeTiming();
    }
    generation::RunContext ctx{s, p, host, nullptr, 1};
    benchmark::DoNotOptimize(generation::RunGeneration(paths, ctx));
  }
}
BENCHMARK(BM_FirstRunVsRerun)->ArgName("rerun")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReplaceAllLargePage(benchmark::State& state) {
  std::string page;
  for (int i = 0; i < 20000; ++i) page += "\xB4\xBA\xCC\xEC" "abc#x#";
  for (auto _ : state) benchmark::DoNotOptimize(text::ReplaceAll(page, "#x#", "\xBD\xAD"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ReplaceAllLargePage);

void BM_Utf8ToGbk(benchmark::State& state) {
  std::string utf8;
  for (int i = 0; i < 20000; ++i) utf8 += "春天的江水，";
  for (auto _ : state) benchmark::DoNotOptimize(Codec().Utf8ToGbk(utf8));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_Utf8ToGbk);

// The random fill on a page of N slots whose titles hold "#": it must grow linearly with N
// (Google Benchmark fits the complexity). Arg 1: all link slots before all title slots.
void BM_RandomFillHashTitles(benchmark::State& state) {
  const auto slots = static_cast<int>(state.range(0));
  const bool apart = state.range(1) != 0;
  std::string links, tpl;
  std::vector<std::string> titles, targets;
  const std::string link = Codec().Utf8ToGbk("<a href=\"#随机篇链接#\">");
  const std::string title = Codec().Utf8ToGbk("#随机篇标题#");
  for (int k = 0; k < slots; ++k) {
    if (apart) {
      links += link;
      tpl += "<b>" + title + "</b>";
    } else {
      tpl += link + title + "</a>";
    }
    titles.push_back("C# " + std::to_string(k));
    targets.push_back("l" + std::to_string(k));
  }
  tpl = links + tpl;
  for (auto _ : state) {
    std::string page = tpl;
    generation::FillRandomPlaceholders(page, titles, targets, nullptr);
    benchmark::DoNotOptimize(page);
  }
  state.SetComplexityN(slots);
}
BENCHMARK(BM_RandomFillHashTitles)
    ->ArgsProduct({{10000, 40000, 160000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace lanzhou::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  std::filesystem::remove_all(lanzhou::bench::BenchRoot());
  return 0;
}
