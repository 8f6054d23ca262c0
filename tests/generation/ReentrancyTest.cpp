// What a window may do while a run pumps its events, driven from inside ProcessEvents as the
// window's own handlers would be.
#include <gtest/gtest.h>

#include "GenerationTestSupport.h"
#include "settings/PlainSettings.h"

namespace lanzhou::generation {
namespace {

using testing::FakeRun;
using testing::G;

// Three articles; `edit` runs once, inside the first ProcessEvents after article `after`'s
// progress caption, i.e. between two articles.
struct EditedRun {
  FakeRun run;
  explicit EditedRun(std::string_view tpl) {
    run.SetTemplate(tpl);
    run.settings.values.titleSource = static_cast<int>(TitleSource::FileName);
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) run.AddArticle(n, "<body>body</body>");
  }
  RunResult RunWithEditAfter(std::size_t after, const std::function<void()>& edit) {
    bool done = false;
    run.host.duringEvents = [&] {
      if (!done && run.host.captions.size() == after) {
        done = true;
        edit();
      }
    };
    return run.Run();
  }
};

TEST(Reentrancy, AnOptionEditedBetweenArticlesTakesEffectAtItsNextRead) {
  EditedRun e("#本篇标题#|#上一篇链接#|#下一篇链接#|#导入的文件内容#");
  e.RunWithEditAfter(1, [&] {
    e.run.settings.values.useExtension = true;    // read at every load
    e.run.settings.values.extension = "htm";
    e.run.settings.values.takeMiddleContent = false;  // read per article
    e.run.settings.values.templateTexts[0] = "changed";  // read once, at the start
  });
  // Article a was done before the edit; b and c load with the new extension and whole bodies,
  // and every page keeps the template the run started with.
  EXPECT_EQ(e.run.Page("a.txt"), "a|#|b.txt|body");
  EXPECT_EQ(e.run.Page("b.htm"), "b|a.htm|c.htm|<body>body</body>");
  EXPECT_EQ(e.run.Page("c.htm"), "c|b.htm|#|<body>body</body>");
}

TEST(Reentrancy, AStopPressOrACloseRequestEndsTheRunAfterTheCurrentArticle) {
  EditedRun e("#本篇标题#");
  e.run.settings.values.makeIndex = true;
  const RunResult r = e.RunWithEditAfter(1, [&] { e.run.host.stop = true; });
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.articles, 1u);
  EXPECT_EQ(e.run.Page("b.txt"), "<missing>");
  // It still ends as a run does: caption back, one report, the index page finished.
  EXPECT_EQ(e.run.host.restored, 1);
  EXPECT_EQ(e.run.host.reports.size(), 1u);
  EXPECT_TRUE(e.run.Page("index.htm").ends_with("</body></html>"));
}

TEST(Reentrancy, EditsDuringTheStartSearchesNeverChangeTheTemplateInUse) {
  EditedRun e("#随机篇标题#");
  e.RunWithEditAfter(0, [&] { e.run.settings.values.templateTexts[0].clear(); });
  for (const char* n : {"a.txt", "b.txt", "c.txt"}) {
    const std::string page = e.run.Page(n);
    EXPECT_TRUE(page == "a" || page == "b" || page == "c") << page;
  }
}

}  // namespace
}  // namespace lanzhou::generation
