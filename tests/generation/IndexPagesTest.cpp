#include "generation/IndexWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
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

const std::filesystem::path kFixtures =
    std::filesystem::path(LANZHOU_SOURCE_DIR) / "tests/fixtures/index";

std::string Name(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "a%03d.txt", i);
  return buf;
}

// N articles named a001.txt ... with titles from their names, default template 1.
FakeRun& IndexRun(FakeRun& run, int n, const std::string& pageSize) {
  run.settings.values.makeIndex = true;
  run.settings.values.pageSizeText = pageSize;
  run.settings.values.titleSource = static_cast<int>(TitleSource::FileName);
  for (int i = 1; i <= n; ++i) run.AddArticle(Name(i), "");
  return run;
}

std::vector<std::string> IndexFiles(const FakeRun& run) {
  std::vector<std::string> names;
  for (const auto& [path, _] : run.files.files) {
    const std::string name = path.substr(path.rfind('/') + 1);
    if (name.starts_with("index")) names.push_back(name);
  }
  return names;
}

TEST(IndexPages, PagedListsMatchTheirFixtures) {
  const struct {
    int articles;
    const char* pageSize;
    const char* fixture;
    std::vector<std::string> pages;
  } cases[] = {
      {120, "50", "120-50", {"index.htm", "index_2.htm", "index_3.htm"}},
      {100, "50", "100-50", {"index.htm", "index_2.htm"}},
      {30, "50", "30-50", {"index.htm"}},
      {60, "0", "60-below1", {"index.htm", "index_2.htm"}},  // below 1 reads as 50
  };
  for (const auto& c : cases) {
    FakeRun run;
    IndexRun(run, c.articles, c.pageSize).Run();
    EXPECT_EQ(IndexFiles(run), c.pages) << c.fixture;
    for (const auto& page : c.pages) {
      EXPECT_EQ(run.Page(page), testing::ReadBytes(kFixtures / c.fixture / page)) << c.fixture << "/" << page;
    }
  }
}

TEST(IndexPages, SwitchedOffMidRunTheOpenPageKeepsItsEntriesWithoutFooter) {
  FakeRun run;
  IndexRun(run, 10, "50");
  run.host.afterArticle = [&](std::size_t i) {
    if (i == 3) run.settings.values.makeIndex = false;
  };
  run.Run();
  const std::string page = run.Page("index.htm");
  EXPECT_NE(page.find("a002.txt"), std::string::npos);
  EXPECT_EQ(page.find("a003.txt"), std::string::npos);
  EXPECT_TRUE(page.ends_with("<a href=\"a002.txt\">a002</a><br>"));
}

TEST(IndexPages, SwitchedOnMidRunEntriesCountUntilARollOverOpensAPage) {
  FakeRun run;
  IndexRun(run, 5, "2");
  run.settings.values.makeIndex = false;
  run.host.afterArticle = [&](std::size_t i) {
    if (i == 2) run.settings.values.makeIndex = true;
  };
  run.Run();
  EXPECT_EQ(IndexFiles(run), std::vector<std::string>{"index_2.htm"});
  const std::string page = run.Page("index_2.htm");
  EXPECT_NE(page.find(G("<title>文章列表(2)_澄溪软件</title>")), std::string::npos);
  EXPECT_NE(page.find("a004.txt\">a004</a><br><a href=\"a005.txt\">a005</a><br><hr><div>"),
            std::string::npos);
  EXPECT_TRUE(page.ends_with("</div></body></html>"));
}

TEST(IndexPages, TitlesAndQuotes) {
  FakeRun run;
  run.SetTemplate("<TITLE>a|#本篇标题#|#本篇标题#</title>#本篇标题#");
  run.settings.values.makeIndex = true;
  run.AddArticle("q.txt", "<title>it''s</title>");
  run.Run();
  EXPECT_TRUE(run.Page("q.txt").ends_with("</title>it''s"));  // the page keeps its apostrophes
  const std::string index = run.Page("index.htm");
  EXPECT_NE(index.find(G("<title>a|文章列表|文章列表</title>")), std::string::npos);
  EXPECT_NE(index.find("<a href=\"q.txt\">it\"s</a><br>"), std::string::npos);

  FakeRun untitled;
  untitled.SetTemplate("no title element");
  untitled.settings.values.makeIndex = true;
  untitled.AddArticle("x.txt", "");
  untitled.Run();
  EXPECT_NE(untitled.Page("index.htm").find("<title></title>"), std::string::npos);
}

TEST(IndexPages, AnIndexPageThatCannotBeCreatedIsCountedAndTheNextOneTried) {
  FakeRun run;
  IndexRun(run, 4, "2");
  run.files.failWrite = [](const std::string& p) { return p.ends_with("/index.htm"); };
  const RunResult r = run.Run();
  EXPECT_EQ(r.writeFailures, 1u);
  EXPECT_EQ(IndexFiles(run), std::vector<std::string>{"index_2.htm"});
}

// Every link of a generated site (default template 1, random links, paged index) names a
// file in the output folder, or is one of the template's fixed targets.
TEST(IndexPages, EveryHrefOfAGeneratedSiteResolves) {
  testing::DiskRun run;
  PlainSettings& s = run.settings;
  s.values.makeIndex = true;
  s.values.pageSizeText = "4";
  s.values.useExtension = true;
  ArticlePaths paths;
  for (int i = 1; i <= 11; ++i) {
    const std::string path = run.dir.path() + "/" + testing::TestCodec().GbkToFileName(G("文章")) +
                             std::to_string(i) + ".txt";
    ASSERT_TRUE(run.files.WriteWholeFile(path, G("<title>第" + std::to_string(i) + "篇</title>")));
    paths.push_back(testing::PathOf(path));
  }
  run.Run(paths, 3);

  const std::filesystem::path out = run.OutputFolder();
  const std::regex href("href=\"([^\"]*)\"");
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(out)) {
    const std::string page = testing::ReadBytes(entry.path());
    for (auto it = std::sregex_iterator(page.begin(), page.end(), href); it != std::sregex_iterator(); ++it) {
      const std::string target = (*it)[1];
      if (target == "#" || target == "/" || target == ".") continue;
      EXPECT_TRUE(std::filesystem::exists(out / testing::TestCodec().GbkToFileName(target)))
          << entry.path() << " -> " << testing::U(target);
      ++checked;
    }
  }
  EXPECT_GT(checked, 11 * 6);
}

}  // namespace
}  // namespace lanzhou::generation
