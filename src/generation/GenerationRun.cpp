#include "generation/GenerationRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "generation/ArticleLoader.h"
#include "generation/IndexWriter.h"
#include "generation/PageFill.h"
#include "generation/PageGuard.h"
#include "generation/TitleCache.h"
#include "generation/UniqueRandomPicker.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"
#include "text/TextOps.h"

namespace lanzhou::generation {
namespace {

namespace lit = lanzhou::text;

// The working state of one run; it lives exactly as long as the run.
struct RunState {
  RunState(const ArticlePaths& articles, RunContext& ctx)
      : paths(articles),
        count(articles.size()),
        folderText(std::string(ParentFolder(articles[0].text)) + "/" +
                   std::string(lit::kOutputFolderName) + "/"),
        folderNative(std::string(ParentFolder(articles[0].native)) + "/" +
                     ctx.platform.codec.GbkToFileName(lit::kOutputFolderName) + "/"),
        picker(ctx.seed ? *ctx.seed : EntropySeed()),
        guard(ctx.platform.files, articles),
        loader{ctx.platform, ctx.titles, &ctx.host},
        titles(articles.size()) {}

  const ArticlePaths& paths;
  std::size_t count;
  std::string folderText;    // GBK, ends in "/"
  std::string folderNative;  // OS bytes, ends in "/"
  std::uint64_t startMs = 0;
  std::string pageTemplate;
  std::optional<PageTemplate> page;  // the template taken apart for the fill
  std::size_t randomSlots = 0;
  UniqueRandomPicker picker;
  PageGuard guard;
  std::unique_ptr<IndexWriter> index;
  LoaderContext loader;
  FailureLog log;
  TitleCache titles;
  std::size_t articlesDone = 0;
};

RunState StartRun(const ArticlePaths& paths, RunContext& ctx) {
  auto& p = ctx.platform;
  RunState run(paths, ctx);
  const std::string folder = run.folderNative.substr(0, run.folderNative.size() - 1);
  const bool existed = p.files.Exists(folder);
  if (!CreateFolderChain(p.files, run.folderNative)) {
    run.log.Unwritten(folder, p.files.LastError());
  } else if (!p.files.IsFolder(folder)) {  // its name is taken by a file
    run.log.Unwritten(folder, std::string(lit::kReasonNotAFolder));
  } else if (!existed) {
    run.guard.FolderIsNew();
  }
  run.startMs = p.clock.NowMs();

  const int selected = ctx.settings.selectedTemplate();
  const auto templates = ctx.settings.templateTexts();
  if (selected >= 0 && selected < kTemplateCount) run.pageTemplate = templates[selected];
  run.page.emplace(run.pageTemplate);

  run.randomSlots = std::max(CountOccurrences(run.pageTemplate, lit::kPhRandomLink, &ctx.host),
                             CountOccurrences(run.pageTemplate, lit::kPhRandomTitle, &ctx.host));
  if (ctx.titles != nullptr) ctx.titles->StartRun(ctx.settings);

  const int pageSize = ctx.settings.pageSize();
  run.index = std::make_unique<IndexWriter>(p.files, run.folderNative, run.pageTemplate,
                                            run.count, pageSize, run.log, &run.guard);
  if (run.count > static_cast<std::size_t>(pageSize)) run.index->BuildPager();
  if (ctx.settings.makeIndex()) run.index->StartPage();
  return run;
}

// A neighbour's or a random pick's title and page name.
TitleAndLink LoadTitle(RunState& run, std::size_t i, RunContext& ctx) {
  if (ctx.reuseTitles) return run.titles.Get(i, run.paths[i], ctx.settings, run.loader);
  ArticleInfo info = LoadArticle(run.paths[i], ctx.settings, run.loader);
  return {std::move(info.title), std::move(info.pageName)};
}

// Whether a page name (OS bytes) names a file in the output folder itself. An extension typed
// with a "/" in it (or "/../..") must not send pages into other folders.
bool PageNameStaysInFolder(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Writes one article's page unless it would land on an article of this run or outside the
// output folder.
void WritePage(RunState& run, std::string_view name, std::string_view page, RunContext& ctx) {
  const std::string file = run.folderNative + std::string(name);
  if (!PageNameStaysInFolder(name)) {
    run.log.Unwritten(file, std::string(lit::kReasonBadPageName));
    return;
  }
  switch (run.guard.Check(file)) {
    case PageGuard::Verdict::IsArticle:
      run.log.ArticlePage(file, std::string(lit::kReasonIsArticle));
      return;
    case PageGuard::Verdict::Replaces:
      run.log.Replaced(file, std::string(lit::kReasonReplaced));
      break;
    case PageGuard::Verdict::Write:
      break;
  }
  if (!WriteTextToFile(ctx.platform.files, page, file, false)) {
    run.log.Unwritten(file, ctx.platform.files.LastError());
  }
}

// A neighbour's title, and its page name as a link.
TitleAndLink LoadNeighbour(RunState& run, std::size_t i, RunContext& ctx) {
  TitleAndLink neighbour = LoadTitle(run, i, ctx);
  ctx.host.ProcessEvents();
  return {std::move(neighbour.title), lit::LinkTarget(neighbour.link)};
}

void ProcessArticle(RunState& run, std::size_t i, RunContext& ctx) {  // i is 0-based
  const GenerationSettings& s = ctx.settings;
  const std::size_t before = run.loader.unreadable;
  ArticleInfo current = ctx.reuseTitles ? run.titles.LoadWhole(i, run.paths[i], s, run.loader)
                                         : LoadArticle(run.paths[i], s, run.loader);
  if (run.loader.unreadable != before) run.log.Unread(run.paths[i].native, run.loader.lastReadError);
  ctx.host.ProcessEvents();

  const TitleAndLink previous = i > 0 ? LoadNeighbour(run, i - 1, ctx)
                                      : TitleAndLink{std::string(lit::kNoPreviousTitle), "#"};
  const TitleAndLink next = i + 1 < run.count
                                ? LoadNeighbour(run, i + 1, ctx)
                                : TitleAndLink{std::string(lit::kNoNextTitle), "#"};

  std::vector<std::string> pickTitles;
  std::vector<std::string> pickLinks;
  for (std::size_t k = 0; k < run.randomSlots; ++k) {
    const auto v = run.picker.Next(1, static_cast<std::int32_t>(run.count));
    TitleAndLink pick = LoadTitle(run, static_cast<std::size_t>(v - 1), ctx);
    pickTitles.push_back(std::move(pick.title));
    pickLinks.push_back(lit::LinkTarget(pick.link));
    ctx.host.ProcessEvents();
    ctx.host.ProcessEvents();
  }
  ctx.host.ProcessEvents();

  std::string_view body = current.body;  // a view: the page is the only copy of the body
  if (s.takeMiddleContent()) {
    const std::string_view middle =
        lit::TextBetweenView(body, s.middleLeftMarker(), s.middleRightMarker());
    if (!middle.empty() || !s.keepBodyWhenEmpty()) body = middle;
  }

  const std::string currentLink = lit::LinkTarget(current.pageName);
  const PageValues values{currentLink,    previous.link, next.link,  current.title,
                          previous.title, next.title,    pickTitles, pickLinks,
                          body};
  std::string page = ctx.reuseTitles ? run.page->Fill(values, &ctx.host)
                                     : FillPageStepByStep(run.pageTemplate, values, &ctx.host);

  WritePage(run, ctx.platform.codec.GbkToFileName(current.pageName), page, ctx);
  page.clear();

  std::string caption(lit::kProgressPrefix);
  caption += std::to_string(i + 1);
  caption += lit::kProgressMiddle;
  caption += current.title;
  ctx.host.ShowProgress(i + 1, run.count, caption);

  if (s.makeIndex()) run.index->AddEntry(current.title, current.pageName, i + 1);
  ++run.articlesDone;
  ctx.host.ProcessEvents();
}

std::string ReportText(const RunState& run, std::string_view duration,
                       const std::optional<std::string>& rejected) {
  std::string report(lit::kReportPrefix);
  report += duration;
  if (run.articlesDone < run.count) {
    report += lit::kReportStopped;
    report += std::to_string(run.articlesDone) + "/" + std::to_string(run.count);
    report += lit::kReportStoppedSaved;
  } else {
    report += lit::kReportSaved;
  }
  report += run.folderText;
  const FailureLog& log = run.log;
  const struct {
    std::size_t count;
    std::string_view prefix, suffix;
  } lines[] = {
      {log.unwritten, lit::kReportWriteFailuresPrefix, lit::kReportWriteFailuresSuffix},
      {log.articlePages, lit::kReportArticlePagesPrefix, lit::kReportArticlePagesSuffix},
      {log.replaced, lit::kReportReplacedPrefix, lit::kReportReplacedSuffix},
      {log.unread, lit::kReportReadFailuresPrefix, lit::kReportReadFailuresSuffix},
  };
  for (const auto& line : lines) {
    if (line.count == 0) continue;
    report += line.prefix;
    report += std::to_string(line.count);
    report += line.suffix;
  }
  if (rejected) {
    report += lit::kReportRejectedPattern;
    report += *rejected;
  }
  report += lit::kReportQuestion;
  return report;
}

}  // namespace

RunResult RunGeneration(const ArticlePaths& paths, RunContext& ctx) {
  RunResult result;
  for (const auto& p : paths) {
    if (!p.native.starts_with('/')) result.failures.push_back({p.native, std::string(lit::kReasonNotAbsolute)});
  }
  if (paths.empty() || !result.failures.empty()) return result;
  RunState run = StartRun(paths, ctx);

  for (std::size_t i = 0; i < run.count; ++i) {
    ProcessArticle(run, i, ctx);
    if (ctx.host.StopRequested()) break;
  }

  // The last index page is finished before the report, so that Yes opens a finished folder
  // and a failure to write that page is in the report.
  if (ctx.settings.makeIndex() && run.index->PageOpen()) run.index->FinishPage();
  run.index->ClosePage();  // left open because the index was switched off: keep what it has

  ctx.host.RestoreCaption();
  const std::uint64_t now = ctx.platform.clock.NowMs();
  const std::string duration = DurationText(static_cast<double>(now - run.startMs));
  result.rejectedPattern = ctx.titles != nullptr ? ctx.titles->RejectedPattern() : std::nullopt;
  result.report = ReportText(run, duration, result.rejectedPattern);
  if (!run.log.Empty()) ctx.host.NoteFailures(run.log.failures);
  switch (ctx.host.AskCompletion(result.report)) {
    case Answer::Yes:
      ctx.host.OpenFolder(run.folderText, run.folderNative);
      break;
    case Answer::No:
      ctx.host.CopyToClipboard(run.folderText, run.folderNative);
      break;
    case Answer::Cancel:
      break;
  }

  result.ran = true;
  result.articles = run.articlesDone;
  result.stopped = run.articlesDone < run.count;
  result.writeFailures = run.log.unwritten;
  result.readFailures = run.log.unread;
  result.replacedPages = run.log.replaced;
  result.failures = std::move(run.log.failures);
  result.outputFolderText = run.folderText;
  result.outputFolderNative = run.folderNative;
  return result;
}

bool Complete(const RunResult& r) {
  return r.failures.empty() && !r.rejectedPattern && !r.stopped;
}

std::string_view ParentFolder(std::string_view path) {
  std::size_t last = text::npos;
  for (std::size_t i = 0; i < path.size(); i += text::CharLength(path, i)) {
    if (path[i] == '/') last = i;
  }
  return last == text::npos ? std::string_view{} : path.substr(0, last);
}

bool CreateFolderChain(platform::FileSystem& fs, std::string_view folder) {
  for (std::size_t i = 0; i < folder.size(); i += text::CharLength(folder, i)) {
    if (folder[i] != '/') continue;
    const std::string prefix(folder.substr(0, i));
    if (prefix.empty() || fs.Exists(prefix)) continue;  // the root of an absolute path
    if (!fs.CreateFolder(prefix)) return false;
  }
  return true;
}

std::size_t CountOccurrences(std::string_view text, std::string_view sought, RunHost* host) {
  std::size_t n = 0;
  std::size_t from = 0;
  while (true) {
    const std::size_t at = text::Find(text, sought, from, text::Case::FoldAscii);
    if (host != nullptr) host->ProcessEvents();
    if (at == text::npos) return n;
    ++n;
    from = at + sought.size();
  }
}

std::string DurationText(double milliseconds) {
  constexpr double kSlack = 1e-7;
  double v = milliseconds;
  std::string_view unit = lit::kUnitMilliseconds;
  const struct {
    double divisor;
    double limit;
    std::string_view unit;
  } steps[] = {{1000, 60, lit::kUnitSeconds}, {60, 60, lit::kUnitMinutes},
               {60, 24, lit::kUnitHours},     {24, 30, lit::kUnitDays},
               {30, 12, lit::kUnitMonths},    {12, 0, lit::kUnitYears}};
  if (!(v < 1000 - kSlack)) {
    for (const auto& step : steps) {
      v /= step.divisor;
      unit = step.unit;
      if (step.limit == 0 || v < step.limit - kSlack) break;
    }
  }
  const double rounded = std::round(v * 100) / 100;  // halves away from zero
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.13g", rounded);
  return std::string(buf) + std::string(unit);
}

bool WriteTextToFile(platform::FileSystem& fs, std::string_view text, const std::string& path,
                     bool append) {
  if (append) {
    if (auto old = fs.ReadWholeFile(path)) {
      old->append(text);
      return fs.WriteWholeFile(path, *old);
    }
  }
  return fs.WriteWholeFile(path, text);
}

}  // namespace lanzhou::generation
