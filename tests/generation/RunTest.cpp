#include "generation/GenerationRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileBytes.h"
#include "GenerationTestSupport.h"
#include "TempDir.h"
#include "text/GbkLiterals.h"
#include "settings/PlainSettings.h"

namespace lanzhou::generation {
namespace {

using testing::FakeRun;
using settings::PlainSettings;
using testing::G;

const std::filesystem::path kFixtures = std::filesystem::path(LANZHOU_SOURCE_DIR) / "tests/fixtures/run";

// The same three articles in each encoding give the same pages, byte for byte: neighbour
// defaults at both ends, a "|" in a title, a placeholder inside a body, a body without markers.
TEST(Run, FixtureFoldersInEveryEncodingGiveTheExpectedPages) {
  const struct {
    const char* folder;
    FileEncoding encoding;
  } cases[] = {{"gbk", FileEncoding::AnsiGbk}, {"utf8", FileEncoding::Utf8},
               {"utf16le", FileEncoding::Unicode}};
  for (const auto& c : cases) {
    testing::DiskRun run;
    std::filesystem::copy(kFixtures / c.folder, run.dir.path());
    PlainSettings& s = run.settings;
    s.values.fileEncoding = static_cast<int>(c.encoding);
    s.values.templateTexts[2] = testing::ReadBytes(kFixtures / "template.htm");
    s.values.selectedTemplate = 2;
    ArticlePaths paths;
    for (const char* name : {"01.txt", "02.txt", "03.txt"}) {
      paths.push_back(testing::PathOf(run.dir.path() + "/" + name));
    }
    EXPECT_EQ(run.Run(paths).writeFailures, 0u);
    const std::string out = run.OutputFolder();
    for (const char* name : {"01.txt", "02.txt", "03.txt"}) {
      EXPECT_EQ(testing::ReadBytes(std::filesystem::path(out) / name), testing::ReadBytes(kFixtures / "expected" / name))
          << c.folder << "/" << name;
    }
  }
}

TEST(Run, AnEmptyListDoesNothingAtAll) {
  FakeRun run;
  const RunResult r = run.Run();
  EXPECT_FALSE(r.ran);
  EXPECT_EQ(run.files.writes, 0);
  EXPECT_TRUE(run.host.reports.empty());
  EXPECT_EQ(run.host.restored, 0);
}

TEST(Run, ASingleArticleGetsBothNeighbourDefaultsAndLinksToItself) {
  FakeRun run;
  run.SetTemplate("#上一篇链接#|#上一篇标题#|#下一篇链接#|#下一篇标题#|#随机篇链接#");
  run.AddArticle("only.txt", "x");
  run.Run();
  EXPECT_EQ(run.Page("only.txt"), G("#|没有上一篇了|#|没有下一篇了|only.txt"));
}

TEST(Run, CaptionsReportAndAnswers) {
  FakeRun run;
  run.SetTemplate("#本篇标题#");
  run.AddArticle("a.txt", "<title>A</title>");
  run.AddArticle("b.txt", "<title>B</title>");
  run.clock.step = 1234;  // start and end are one step apart
  run.host.answer = Answer::No;
  const RunResult r = run.Run();
  EXPECT_EQ(run.host.captions,
            (std::vector<std::string>{G("已处理 1 个文件，当前：A"), G("已处理 2 个文件，当前：B")}));
  EXPECT_EQ(run.host.restored, 1);
  ASSERT_EQ(run.host.reports.size(), 1u);
  EXPECT_EQ(run.host.reports[0],
            G("耗时 1.23 秒 处理完毕，已保存在这个目录：/site/模板生成目录/\r\n\r\n"
              "点击【是】将打开这个目录，点击【否】将复制目录地址，点击【取消】什么事也不发生"));
  EXPECT_EQ(run.host.copied, std::vector<std::string>{testing::kOut});
  EXPECT_TRUE(run.host.opened.empty());
  EXPECT_EQ(r.writeFailures, 0u);
}

TEST(Run, FailedWritesAndUnreadableArticlesAreCountedAndReported) {
  FakeRun run;
  run.SetTemplate("#本篇标题#");
  run.AddArticle("a.txt", "a");
  run.AddArticle("b.txt", "b");
  run.paths.push_back(testing::PathOf("/site/missing.txt"));
  run.files.failWrite = [](const std::string& p) { return p.ends_with("/b.txt"); };
  const RunResult r = run.Run();
  EXPECT_EQ(r.writeFailures, 1u);
  EXPECT_EQ(r.readFailures, 1u);  // once, though its neighbours load it again
  EXPECT_NE(run.host.reports[0].find(G("\r\n有 1 个文件或目录未能写入")), std::string::npos);
  EXPECT_NE(run.host.reports[0].find(G("\r\n有 1 篇文章未能读取")), std::string::npos);
  EXPECT_EQ(run.Page("missing.txt"), "missing");  // still a page, from its file title
}

TEST(Run, AnOutputFolderThatCannotBeMadeFailsEveryPage) {
  FakeRun run;
  run.AddArticle("a.txt", "a");
  run.files.failWrite = [](const std::string& p) { return p.starts_with(testing::kOut.substr(0, testing::kOut.size() - 1)); };
  const RunResult r = run.Run();
  EXPECT_EQ(r.writeFailures, 2u);  // the folder and the page
  EXPECT_EQ(run.host.reports.size(), 1u);
}

TEST(Run, PlaceholdersInABodyStayWhileThoseInTitlesAreFilled) {
  FakeRun run;
  run.SetTemplate("#本篇标题#/#导入的文件内容#");
  run.settings.values.takeMiddleContent = false;
  run.AddArticle("a.txt", G("<title>t#导入的文件内容#</title>#本篇标题#"));
  run.Run();
  // The title's content placeholder takes the body; the body's own placeholders stay.
  const std::string body = G("<title>t#导入的文件内容#</title>#本篇标题#");
  EXPECT_EQ(run.Page("a.txt"), "t" + body + "/" + body);
}

TEST(Run, OptionsAreReadLiveBetweenArticles) {
  FakeRun run;
  run.SetTemplate("#导入的文件内容#");
  run.settings.values.takeMiddleContent = false;
  for (const char* n : {"1.txt", "2.txt", "3.txt"}) run.AddArticle(n, "<b>x<body>in</body>y");
  run.host.afterArticle = [&](std::size_t i) {
    if (i == 1) run.settings.values.takeMiddleContent = true;
    if (i == 2) run.settings.values.useExtension = true;
  };
  run.Run();
  EXPECT_EQ(run.Page("1.txt"), "<b>x<body>in</body>y");
  EXPECT_EQ(run.Page("2.txt"), "in");
  EXPECT_EQ(run.Page("3.htm"), "in");
}

TEST(Run, MiddleContentFallsBackOnlyWhenAsked) {
  FakeRun run;
  run.SetTemplate("[#导入的文件内容#]");
  run.AddArticle("a.txt", "no markers");
  run.settings.values.keepBodyWhenEmpty = false;
  run.Run();
  EXPECT_EQ(run.Page("a.txt"), "[]");
}

TEST(Run, AStopRequestEndsThePassButStillReportsAndFinishesTheIndex) {
  FakeRun run;
  run.SetTemplate("<title>#本篇标题#</title>");
  run.settings.values.makeIndex = true;
  for (const char* n : {"1.txt", "2.txt", "3.txt"}) run.AddArticle(n, "");
  run.host.afterArticle = [&](std::size_t i) { run.host.stop = i == 2; };
  const RunResult r = run.Run();
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.articles, 2u);
  EXPECT_EQ(run.Page("3.txt"), "<missing>");
  EXPECT_EQ(run.host.reports.size(), 1u);
  EXPECT_TRUE(run.Page("index.htm").ends_with("</body></html>"));
}

TEST(Run, ARerunReplacesExistingPages) {
  testing::DiskRun run;
  run.settings.values.templateTexts[0] = G("#导入的文件内容#");
  const std::string article = run.dir.path() + "/a.txt";
  const ArticlePaths paths{testing::PathOf(article)};
  for (const char* body : {"a much longer first body", "short"}) {
    ASSERT_TRUE(run.files.WriteWholeFile(article, body));
    run.Run(paths);
    EXPECT_EQ(testing::ReadBytes(run.OutputFolder() + "/a.txt"), body);
  }
}

TEST(RunHelpers, DurationText) {
  const struct {
    double ms;
    const char* text;
  } cases[] = {{532, "532 毫秒"},     {1234, "1.23 秒"},    {59999, "60 秒"},
               {60000, "1 分"},       {0, "0 毫秒"},        {3600000, "1 时"},
               {86400000, "1 天"},    {1006, "1.01 秒"},    {999.9999999, "1 秒"}};
  for (const auto& c : cases) EXPECT_EQ(DurationText(c.ms), G(c.text)) << c.ms;
}

TEST(RunHelpers, ParentFolderAndFolderChain) {
  EXPECT_EQ(ParentFolder("/a/b/c.txt"), "/a/b");
  EXPECT_EQ(ParentFolder("c.txt"), "");
  EXPECT_EQ(ParentFolder("/c.txt"), "");
  testing::FakeFileSystem fs;
  EXPECT_TRUE(CreateFolderChain(fs, "/x/y/z/"));
  EXPECT_TRUE(fs.Exists("/x/y/z"));
  fs.failWrite = [](const std::string& p) { return p == "/q"; };
  EXPECT_FALSE(CreateFolderChain(fs, "/q/r/"));
  EXPECT_FALSE(fs.Exists("/q/r"));
}

TEST(RunHelpers, CountOccurrencesIgnoresAsciiCaseAndOverlaps) {
  testing::ScriptedRunHost host;
  EXPECT_EQ(CountOccurrences("aAaA", "aa", &host), 2u);
  EXPECT_EQ(host.events, 3);  // after each search, the failing last one included
}

TEST(RunHelpers, WriteTextToFileAppends) {
  testing::FakeFileSystem fs;
  ASSERT_TRUE(WriteTextToFile(fs, "ab", "/f", false));
  ASSERT_TRUE(WriteTextToFile(fs, "cd", "/f", true));
  EXPECT_EQ(fs.files["/f"], "abcd");
  ASSERT_TRUE(WriteTextToFile(fs, "x", "/f", false));
  EXPECT_EQ(fs.files["/f"], "x");
}

}  // namespace
}  // namespace lanzhou::generation
