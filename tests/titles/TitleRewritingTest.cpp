#include <gtest/gtest.h>

#include <string>

#include "generation/GenerationSettings.h"
#include "platform/Codec.h"
#include "titles/RegexObject.h"
#include "titles/TitleRewriting.h"
#include "settings/PlainSettings.h"

namespace lanzhou::titles {
namespace {

class TitleRewritingTest : public ::testing::Test {
 protected:
  TitleRewritingTest() { settings.values.replaceTitle = true; }

  std::string G(const char* utf8) const { return codec.Utf8ToGbk(utf8); }
  std::string Rewrite(const char* utf8Title) {
    return codec.GbkToUtf8(rewriting.RewriteTitle(G(utf8Title), settings));
  }

  platform::Codec codec;
  RegexObject regex{codec};
  TitleRewriting rewriting{regex};
  settings::PlainSettings settings;
};

TEST_F(TitleRewritingTest, PlainModeIsPairedReplacementOfTheLists) {
  struct Row {
    const char* find;
    const char* replace;
    const char* title;
    const char* want;
  };
  const Row rows[] = {
      {"(.+)[_-].*", "$1", "标题_站点", "标题_站点"},
      {"(.+)[_-].*", "$1", "前(.+)[_-].*后", "前$1后"},
      {"A|B", "x", "AaBb标题", "xx标题"},
      {"_某某网|【转载】", "", "【转载】标题_某某网", "标题"},
      {"", "x", "标题", "标题"},
  };
  settings.values.useRegex = false;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.title);
    settings.values.matchPattern = G(r.find);
    settings.values.replacementText = G(r.replace);
    rewriting.StartRun(settings);
    EXPECT_EQ(Rewrite(r.title), r.want);
  }
}

TEST_F(TitleRewritingTest, AnEditDuringARunWaitsForTheNextRunInRegexModeOnly) {
  settings.values.matchPattern = "_.*";
  settings.values.replacementText = "";
  rewriting.StartRun(settings);
  EXPECT_EQ(Rewrite("标题_站点"), "标题");

  settings.values.matchPattern = G("标");
  settings.values.replacementText = "X";
  EXPECT_EQ(Rewrite("标题_站点"), "标题X");  // the run's pattern, the new replacement

  settings.values.useRegex = false;
  EXPECT_EQ(Rewrite("标题_站点"), "X题_站点");  // plain mode reads both lists now

  settings.values.useRegex = true;
  rewriting.StartRun(settings);
  EXPECT_EQ(Rewrite("标题_站点"), "X题_站点");
}

TEST_F(TitleRewritingTest, AnEmptyPatternKeepsThePreviousRunsPattern) {
  settings.values.matchPattern = "";
  rewriting.StartRun(settings);
  EXPECT_EQ(Rewrite("标题_站点"), "标题_站点");  // no pattern yet: nothing to rewrite

  settings.values.matchPattern = "(.+)[_-].*";
  rewriting.StartRun(settings);
  settings.values.matchPattern = "";
  rewriting.StartRun(settings);
  EXPECT_EQ(Rewrite("标题_站点"), "标题");
}

TEST_F(TitleRewritingTest, ARejectedPatternLeavesTitlesAloneAndIsReportedOnce) {
  settings.values.matchPattern = "(.+[_-].*";
  rewriting.StartRun(settings);
  EXPECT_EQ(rewriting.RejectedPattern(), "(.+[_-].*");
  EXPECT_EQ(Rewrite("标题_站点"), "标题_站点");
  EXPECT_EQ(Rewrite("甲-乙"), "甲-乙");
  EXPECT_EQ(rewriting.RejectedPattern(), "(.+[_-].*");

  // An empty pattern keeps the rejected one in force, and it is named again.
  settings.values.matchPattern = "";
  rewriting.StartRun(settings);
  EXPECT_EQ(rewriting.RejectedPattern(), "(.+[_-].*");
  EXPECT_EQ(Rewrite("标题_站点"), "标题_站点");

  settings.values.matchPattern = "(.+)[_-].*";
  rewriting.StartRun(settings);
  EXPECT_FALSE(rewriting.RejectedPattern().has_value());
  EXPECT_EQ(Rewrite("标题_站点"), "标题");
}

TEST_F(TitleRewritingTest, APatternRejectedAsRegexIsNoFaultInPlainMode) {
  settings.values.useRegex = false;
  settings.values.matchPattern = "(a";
  settings.values.replacementText = "";
  rewriting.StartRun(settings);
  EXPECT_EQ(Rewrite("x(a)y"), "x)y");
  EXPECT_FALSE(rewriting.RejectedPattern().has_value());

  // Switching to regex mode during the run meets the rejected pattern at the next load.
  settings.values.useRegex = true;
  EXPECT_EQ(Rewrite("x(a)y"), "x(a)y");
  EXPECT_EQ(rewriting.RejectedPattern(), "(a");
}

TEST_F(TitleRewritingTest, WithoutAnEngineRegexModeLeavesTitlesAlone) {
  RegexObject none(codec, [] { return std::unique_ptr<platform::RegexEngine>(); });
  TitleRewriting bare(none);
  EXPECT_FALSE(bare.EngineAvailable());
  bare.StartRun(settings);
  EXPECT_EQ(codec.GbkToUtf8(bare.RewriteTitle(G("标题_站点"), settings)), "标题_站点");
  EXPECT_FALSE(bare.RejectedPattern().has_value());

  settings.values.useRegex = false;
  settings.values.matchPattern = G("站点");
  settings.values.replacementText = "";
  EXPECT_EQ(codec.GbkToUtf8(bare.RewriteTitle(G("标题_站点"), settings)), "标题_");
}

}  // namespace
}  // namespace lanzhou::titles
