// What a run does when the files around it misbehave: every failure is counted, named with its
// reason and reported, the run goes on, and nothing but its own pages is touched.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "FileBytes.h"
#include "GenerationTestSupport.h"
#include "generation/GenerationRun.h"
#include "settings/SettingsFile.h"
#include "text/GbkLiterals.h"

namespace lanzhou::generation {
namespace {

namespace fs = std::filesystem;
using testing::FakeRun;
using testing::G;
using testing::kOut;

bool Contains(std::string_view haystack, std::string_view needle) {
  return haystack.find(needle) != std::string_view::npos;
}

std::vector<std::string> ReasonsFor(const RunResult& r, const std::string& path) {
  std::vector<std::string> reasons;
  for (const auto& f : r.failures) {
    if (f.path == path) reasons.push_back(f.reason);
  }
  return reasons;
}

// Injected faults, one per row, on a run of three articles with the index on. In each the run
// goes on to the end, the failure is named with the reason the OS gives, the report counts it,
// and every article is left exactly as it was.
TEST(Faults, EachFailureIsNamedCountedAndReportedAndTheRunGoesOn) {
  const std::string index = kOut + "index.htm";
  const struct {
    const char* what;
    std::function<void(FakeRun&)> inject;
    std::string failedPath;
    std::string reason;
    std::string reportLine;  // UTF-8
    std::vector<std::string> missingPages;
  } cases[] = {
      {"an article vanishes between listing and loading",
       [](FakeRun& r) { r.files.files.erase("/site/b.txt"); }, "/site/b.txt",
       "No such file or directory", "有 1 篇文章未能读取，已按空文件处理", {}},
      {"a read error", [](FakeRun& r) { r.files.failRead = [](const std::string& p) { return p == "/site/b.txt" ? EIO : 0; }; },
       "/site/b.txt", "Input/output error", "有 1 篇文章未能读取，已按空文件处理", {}},
      {"a page write finds the disk full part-way",
       [](FakeRun& r) { r.files.failPartWay = [](const std::string& p) { return p.ends_with("/b.txt") ? ENOSPC : 0; }; },
       kOut + "b.txt", "No space left on device", "有 1 个文件或目录未能写入", {"b.txt"}},
      {"an index page whose write fails",
       [&](FakeRun& r) { r.files.failPartWay = [&](const std::string& p) { return p == index ? ENOSPC : 0; }; },
       index, "No space left on device", "有 1 个文件或目录未能写入", {}},
      {"an index page whose close fails",
       [&](FakeRun& r) { r.files.failClose = [&](const std::string& p) { return p == index ? EIO : 0; }; },
       index, "Input/output error", "有 1 个文件或目录未能写入", {}},
      {"an index page that cannot be created",
       [&](FakeRun& r) { r.files.failWrite = [&](const std::string& p) { return p == index ? EACCES : 0; }; },
       index, "Permission denied", "有 1 个文件或目录未能写入", {"index.htm"}},
  };
  for (const auto& c : cases) {
    FakeRun run;
    run.SetTemplate("<title>#本篇标题#</title>#上一篇标题#|#导入的文件内容#");
    run.settings.values.makeIndex = true;
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) run.AddArticle(n, std::string("<title>") + n + "</title>");
    c.inject(run);
    const auto articlesBefore = run.files.files;
    const RunResult r = run.Run();

    EXPECT_EQ(r.articles, 3u) << c.what;
    ASSERT_EQ(r.failures.size(), 1u) << c.what;
    EXPECT_EQ(r.failures[0].path, c.failedPath) << c.what;
    EXPECT_EQ(r.failures[0].reason, c.reason) << c.what;
    ASSERT_EQ(run.host.reports.size(), 1u);
    EXPECT_TRUE(Contains(run.host.reports[0], G(c.reportLine))) << c.what << ": " << testing::U(run.host.reports[0]);
    EXPECT_FALSE(Complete(r));
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) {
      const bool missing = std::count(c.missingPages.begin(), c.missingPages.end(), n) > 0;
      EXPECT_EQ(run.Page(n) == "<missing>", missing) << c.what << " " << n;
      const auto before = articlesBefore.find("/site/" + std::string(n));
      if (before != articlesBefore.end()) {
        EXPECT_EQ(run.files.files.at(before->first), before->second) << c.what;
      }
    }
    for (const auto& [path, _] : run.files.files) {
      EXPECT_TRUE(path.starts_with(kOut) || articlesBefore.count(path)) << c.what << ": wrote " << path;
    }
  }
}

// A settings file that cannot be written (the disk fills up while saving): the save says so
// and why, and the file keeps what it held.
TEST(Faults, ASettingsFileThatCannotBeWrittenKeepsItsOldContent) {
  testing::FakeFileSystem files;
  files.Add("/cfg/settings.ini", "[old]\r\n");
  files.failPartWay = [](const std::string& p) { return p == "/cfg/settings.ini" ? ENOSPC : 0; };
  settings::PlainSettings s;
  EXPECT_FALSE(settings::SaveSettingsFile(files, "/cfg/settings.ini", s.values));
  EXPECT_EQ(files.LastError(), "No space left on device");
  EXPECT_EQ(files.files.at("/cfg/settings.ini"), "[old]\r\n");
}

TEST(Faults, AnOutputFolderNameTakenByAFileFailsTheFolderAndEveryPage) {
  FakeRun run;
  run.AddArticle("a.txt", "a");
  run.files.Add(kOut.substr(0, kOut.size() - 1), "a file");
  const RunResult r = run.Run();
  ASSERT_EQ(r.failures.size(), 2u);
  EXPECT_EQ(r.failures[0].path, kOut.substr(0, kOut.size() - 1));
  EXPECT_EQ(r.failures[0].reason, text::kReasonNotAFolder);
  EXPECT_EQ(r.failures[1].reason, "Not a directory");
  EXPECT_EQ(run.files.files.at(kOut.substr(0, kOut.size() - 1)), "a file");
}

// Articles given from inside the output folder (users re-import earlier output, or keep
// sources there) are never replaced by pages, whatever the spelling of their paths; the pages
// that would land on them are not written, and later pages still see the articles' own titles.
TEST(Faults, PagesNeverOverwriteAnArticleOfTheSameRun) {
  testing::DiskRun run;
  const fs::path s = run.dir.path();
  const fs::path out = run.OutputFolder();
  fs::create_directory(out);
  testing::WriteBytes(s / "a.txt", "<title>A</title>");
  testing::WriteBytes(out / "b.htm", "<title>B</title>");
  testing::WriteBytes(out / "c.html", "<title>C</title>");
  fs::create_directory(s / "sub");
  run.settings.values.templateTexts[0] = G("#本篇标题#<#下一篇标题#>");
  const ArticlePaths paths{testing::PathOf((s / "a.txt").string()),
                           testing::PathOf((out / "b.htm").string()),
                           // another spelling of the same file
                           testing::PathOf((s / "sub/.." / out.filename() / "c.html").string())};
  const RunResult r = run.Run(paths);

  EXPECT_EQ(testing::ReadBytes(out / "b.htm"), "<title>B</title>");
  EXPECT_EQ(testing::ReadBytes(out / "c.html"), "<title>C</title>");
  EXPECT_EQ(testing::ReadBytes(out / "a.txt"), "A<B>");
  EXPECT_EQ(r.writeFailures, 2u);
  EXPECT_EQ(ReasonsFor(r, (out / "b.htm").string()), std::vector<std::string>{std::string(text::kReasonIsArticle)});
  EXPECT_TRUE(Contains(run.host.reports[0], G("有 2 个页面会覆盖本次导入的文章，未写入")));
}

// Names stay as they are (links rely on them), but a page that lands on a page of the same run
// (or on an index page) is counted and named: nothing is replaced silently.
TEST(Faults, PagesThatReplaceOtherPagesOfTheRunAreCountedAndNamed) {
  FakeRun run;
  run.settings.values.useExtension = true;
  run.settings.values.extension = "htm";
  run.settings.values.makeIndex = true;
  run.AddArticle(testing::TestCodec().GbkToFileName(G("2024.01.15 日记.txt")), "");
  run.AddArticle(testing::TestCodec().GbkToFileName(G("2024.02.03 游记.txt")), "");
  run.AddArticle("same.txt", "");
  run.AddArticle("same.html", "");
  run.AddArticle("index.txt", "");
  run.AddArticle("other.txt", "");
  const RunResult r = run.Run();
  EXPECT_EQ(r.replacedPages, 3u);
  EXPECT_EQ(ReasonsFor(r, kOut + "2024.htm"), std::vector<std::string>{std::string(text::kReasonReplaced)});
  EXPECT_EQ(ReasonsFor(r, kOut + "same.htm").size(), 1u);
  EXPECT_EQ(ReasonsFor(r, kOut + "index.htm").size(), 1u);
  EXPECT_EQ(r.writeFailures, 0u);
  EXPECT_TRUE(Contains(run.host.reports[0], G("有 3 个页面与其他页面同名，已被覆盖")));
}

// A named pipe as an article or at a page's path used to hang the run for ever.
TEST(Faults, PipesAreUnreadableArticlesAndUnwritablePagesAndNothingWaits) {
  testing::DiskRun run;
  const fs::path s = run.dir.path();
  const fs::path out = run.OutputFolder();
  fs::create_directory(out);
  testing::WriteBytes(s / "a.txt", "a");
  ASSERT_EQ(::mkfifo((s / "pipe.txt").c_str(), 0600), 0);
  testing::WriteBytes(s / "c.txt", "c");
  ASSERT_EQ(::mkfifo((out / "c.txt").c_str(), 0600), 0);
  run.settings.values.templateTexts[0] = G("#导入的文件内容#");
  ::alarm(20);  // a hang becomes a failed test
  const RunResult r = run.Run({testing::PathOf((s / "a.txt").string()),
                               testing::PathOf((s / "pipe.txt").string()),
                               testing::PathOf((s / "c.txt").string())});
  ::alarm(0);
  EXPECT_EQ(r.readFailures, 1u);
  EXPECT_EQ(r.writeFailures, 1u);
  EXPECT_EQ(ReasonsFor(r, (s / "pipe.txt").string()), std::vector<std::string>{"not a regular file"});
  EXPECT_EQ(ReasonsFor(r, (out / "c.txt").string()), std::vector<std::string>{"not a regular file"});
  EXPECT_EQ(testing::ReadBytes(out / "a.txt"), "a");
  EXPECT_EQ(testing::ReadBytes(out / "pipe.txt"), "");
  EXPECT_TRUE(fs::is_fifo(out / "c.txt"));
}

TEST(Faults, AStoppedRunSaysHowFarItGot) {
  FakeRun run;
  for (const char* n : {"1.txt", "2.txt", "3.txt"}) run.AddArticle(n, "");
  run.host.afterArticle = [&](std::size_t i) { run.host.stop = i == 2; };
  const RunResult r = run.Run();
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(Complete(r));
  EXPECT_TRUE(run.host.reports[0].starts_with(G("耗时 0 毫秒 已停止，处理了 2/3 个文件，已保存在这个目录：")))
      << testing::U(run.host.reports[0]);
  EXPECT_FALSE(Contains(run.host.reports[0], G("处理完毕")));
}

// The report comes last: Yes opens a folder whose index is finished, and a failure to write
// that last page is in the report.
TEST(Faults, TheReportComesAfterTheLastIndexPageIsFinished) {
  FakeRun run;
  run.settings.values.makeIndex = true;
  run.AddArticle("a.txt", "");
  std::string indexAtReport;
  run.host.atReport = [&] { indexAtReport = run.files.files[kOut + "index.htm"]; };
  run.files.failClose = [](const std::string& p) { return p.ends_with("index.htm") ? EIO : 0; };
  const RunResult r = run.Run();
  EXPECT_TRUE(indexAtReport.ends_with("</body></html>"));
  EXPECT_TRUE(Contains(run.host.reports[0], G("有 1 个文件或目录未能写入")));
  EXPECT_EQ(r.writeFailures, 1u);
}

TEST(Faults, ARelativePathIsRefusedBeforeAnythingIsWritten) {
  FakeRun run;
  run.AddArticle("a.txt", "");
  run.paths.push_back({"b.txt", "b.txt"});
  const RunResult r = run.Run();
  EXPECT_FALSE(r.ran);
  EXPECT_EQ(run.files.written, std::vector<std::string>{});
  EXPECT_EQ(run.files.folders.count(kOut.substr(0, kOut.size() - 1)), 0u);
  ASSERT_EQ(r.failures.size(), 1u);
  EXPECT_EQ(r.failures[0].path, "b.txt");
  EXPECT_TRUE(run.host.reports.empty());
}

// An extension typed with a "/" would send pages into other folders, "../" out of the output
// folder altogether, over whatever is there (the fuzzer found it).
TEST(Faults, APageNameThatWouldLeaveTheOutputFolderIsNotWritten) {
  FakeRun run;
  run.AddArticle("a.txt", "a");
  run.files.Add("/site/keep.htm", "the user's own");
  run.settings.values.useExtension = true;
  run.settings.values.extension = "/../../keep.htm";
  const RunResult r = run.Run();
  EXPECT_EQ(run.files.files.at("/site/keep.htm"), "the user's own");
  EXPECT_EQ(r.writeFailures, 1u);
  EXPECT_EQ(ReasonsFor(r, kOut + "a./../../keep.htm"), std::vector<std::string>{std::string(text::kReasonBadPageName)});
  EXPECT_EQ(run.files.written, std::vector<std::string>{});
}

// Page names that hold "#", "?", "%", a double quote or a line break are links to themselves
// once filled in; ordinary names keep their bytes.
TEST(Faults, LinksToPagesWithAwkwardNamesLeadToThosePages) {
  FakeRun run;
  run.SetTemplate("[#本篇链接#|#上一篇链接#|#下一篇链接#|#随机篇链接#]");
  run.settings.values.makeIndex = true;
  run.settings.values.titleSource = static_cast<int>(TitleSource::FileName);
  const std::vector<std::pair<std::string, std::string>> names = {
      {"hash#tag.txt", "hash%23tag.txt"}, {"q?mark.txt", "q%3Fmark.txt"},
      {"pct%41x.txt", "pct%2541x.txt"},   {"quo\"te.txt", "quo%22te.txt"},
      {"line\nbreak.txt", "line%0Abreak.txt"}, {"it''s.txt", "it''s.txt"},
      {G("普通 文章.txt"), G("普通 文章.txt")}};
  for (const auto& [name, _] : names) run.AddArticle(testing::TestCodec().GbkToFileName(name), "");
  run.Run();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string page = run.Page(testing::TestCodec().GbkToFileName(names[i].first));
    EXPECT_TRUE(page.starts_with("[" + names[i].second + "|")) << page;
    if (i > 0) {
      EXPECT_TRUE(Contains(page, "|" + names[i - 1].second + "|")) << page;
    }
    EXPECT_TRUE(Contains(run.Page("index.htm"), "<a href=\"" + names[i].second + "\">")) << names[i].second;
  }
  // The first page has no previous article: its link stays the bare "#".
  EXPECT_TRUE(Contains(run.Page(testing::TestCodec().GbkToFileName(names[0].first)), "|#|"));
}

}  // namespace
}  // namespace lanzhou::generation
