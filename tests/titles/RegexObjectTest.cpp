#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/Codec.h"
#include "titles/RegexObject.h"

namespace lanzhou::titles {
namespace {

using platform::RegexEngine;
using platform::RegexGroups;

// Records every pattern written to it and matches nothing.
class RecordingEngine : public RegexEngine {
 public:
  struct Write {
    std::u16string pattern;
    bool ignoreCase;
    bool multiline;
    bool operator==(const Write&) const = default;
  };
  explicit RecordingEngine(std::vector<Write>& log) : log_(log) {}
  bool Compile(std::u16string_view pattern, bool ignoreCase, bool multiline) override {
    log_.push_back({std::u16string(pattern), ignoreCase, multiline});
    return true;
  }
  bool HasPattern() const override { return !log_.empty(); }
  std::size_t GroupCount() const override { return 0; }

 protected:
  std::optional<RegexGroups> MatchFrom(std::u16string_view, std::size_t) override {
    return std::nullopt;
  }

 private:
  std::vector<Write>& log_;
};

class RegexObjectTest : public ::testing::Test {
 protected:
  std::string G(const char* utf8) const { return codec.Utf8ToGbk(utf8); }
  std::string U(const std::string& gbk) const { return codec.GbkToUtf8(gbk); }

  platform::Codec codec;
};

TEST_F(RegexObjectTest, CreationTriesTheFactoryAtMostTwice) {
  int calls = 0;
  RegexObject none(codec, [&] { return ++calls, std::unique_ptr<RegexEngine>(); });
  EXPECT_EQ(calls, 2);
  EXPECT_FALSE(none.HasEngine());

  calls = 0;
  std::vector<RecordingEngine::Write> log;
  RegexObject second(codec, [&]() -> std::unique_ptr<RegexEngine> {
    if (++calls == 1) return nullptr;
    return std::make_unique<RecordingEngine>(log);
  });
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(second.HasEngine());

  RegexObject first(codec);
  EXPECT_TRUE(first.HasEngine());
}

TEST_F(RegexObjectTest, WithoutAnEngineEveryCallGivesTheEmptyResult) {
  RegexObject re(codec, [] { return std::unique_ptr<RegexEngine>(); });
  EXPECT_TRUE(re.SetPattern("(.+)[_-].*"));
  EXPECT_EQ(re.GetPattern(), "(.+)[_-].*");
  EXPECT_EQ(re.ReplaceText(G("标题_站点"), "$1"), "");
  EXPECT_EQ(re.ExecuteText(G("标题_站点")), 0);
  EXPECT_EQ(re.MatchCount(), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.MatchText(1, 0), "");
  EXPECT_EQ(re.MatchLength(1), 0);
  EXPECT_EQ(re.MatchByteLength(1, 0), 0);
  EXPECT_FALSE(re.TestText(G("标题_站点")));
  EXPECT_FALSE(re.PatternRejected());
}

TEST_F(RegexObjectTest, SetPatternWritesTheEngineOnlyWhenPatternOrOptionsChange) {
  std::vector<RecordingEngine::Write> log;
  RegexObject re(codec, [&] { return std::make_unique<RecordingEngine>(log); });

  re.SetPattern("");  // nothing to compile yet
  EXPECT_TRUE(log.empty());
  re.SetPattern("a_b");
  re.SetPattern("a_b");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0], (RecordingEngine::Write{u"a_b", true, true}));

  re.SetPattern("a_b", /*caseSensitive=*/true, /*singleLine=*/true);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1], (RecordingEngine::Write{u"a_b", false, false}));

  // An empty pattern keeps the current one, with the options it is given.
  re.SetPattern("");
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[2], (RecordingEngine::Write{u"a_b", true, true}));
  EXPECT_EQ(re.GetPattern(), "a_b");
}

TEST_F(RegexObjectTest, MatchesAndSubMatchesCountUnitsAndBytes) {
  RegexObject re(codec);
  re.SetPattern(G("第(\\d+)(章)?"));
  ASSERT_EQ(re.ExecuteText(G("第12章 第345节")), 2);
  EXPECT_EQ(re.MatchCount(), 2);
  EXPECT_EQ(re.GetMatchCount(), 2);
  EXPECT_EQ(re.SubMatchCount(), 2);
  EXPECT_EQ(U(re.MatchText(1, 0)), "第12章");
  EXPECT_EQ(U(re.MatchText(2, -1)), "第345");
  EXPECT_EQ(re.SubMatchText(2, 1), "345");
  EXPECT_EQ(re.MatchText(2, 2), "");  // took no part
  EXPECT_FALSE(re.MatchValue(2, 2).has_value());
  EXPECT_EQ(re.MatchLength(1), 4);             // UTF-16 units
  EXPECT_EQ(re.MatchByteLength(1, 0), 6);      // 第 and 章 take two bytes each
  EXPECT_EQ(re.MatchLength(1, 2), 1);
  EXPECT_EQ(re.MatchByteLength(1, 2), 2);
  // Out of range: empty results, never a crash.
  EXPECT_EQ(re.MatchText(3, 0), "");
  EXPECT_EQ(re.MatchText(0, 0), "");
  EXPECT_EQ(re.MatchText(1, 3), "");
  EXPECT_EQ(re.MatchLength(-1, 0), 0);

  EXPECT_EQ(re.SetPatternAndExecute("x", "abc"), 0);
  EXPECT_EQ(re.SubMatchCount(), 0);
  EXPECT_EQ(re.MatchText(1, 0), "");
}

TEST_F(RegexObjectTest, FlagsSwitchOptionsOff) {
  struct Row {
    const char* pattern;
    bool caseSensitive, singleLine, firstMatchOnly;
    const char* subject;
    const char* want;
  };
  const Row rows[] = {
      {"a", false, false, false, "aA\na", "##\n#"},
      {"a", true, false, false, "aA\na", "#A\n#"},
      {"^a", false, true, false, "aA\na", "#A\na"},
      {"^a", false, false, false, "aA\na", "#A\n#"},
      {"a", false, false, true, "aA\na", "#A\na"},
  };
  RegexObject re(codec);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.pattern);
    EXPECT_EQ(re.ReplaceText(r.subject, "#", r.pattern, r.caseSensitive, r.singleLine,
                             r.firstMatchOnly),
              r.want);
  }
  // Here the flags switch options on; all omitted means all on.
  re.SetPatternWithOptions("a", /*ignoreCase=*/false);
  EXPECT_EQ(re.ReplaceText("aA\na", "#"), "#A\n#");
  re.SetPatternWithOptions("a");
  EXPECT_EQ(re.ReplaceText("aA\na", "#"), "##\n#");
  EXPECT_EQ(re.PatternText(), "a");
}

TEST_F(RegexObjectTest, RejectedPatternGivesEmptyResultsUntilAGoodOne) {
  RegexObject re(codec);
  re.SetPattern("(a)");
  ASSERT_EQ(re.ExecuteText("aa"), 2);
  re.SetPattern("(a");
  EXPECT_TRUE(re.PatternRejected());
  EXPECT_EQ(re.GetPattern(), "(a");
  EXPECT_EQ(re.ReplaceText("abc", "x"), "");
  EXPECT_EQ(re.ExecuteText("aa"), 0);
  EXPECT_EQ(re.MatchCount(), 0);  // the earlier matches are gone too
  EXPECT_FALSE(re.TestText("aa"));
  re.SetPattern("b");
  EXPECT_FALSE(re.PatternRejected());
  EXPECT_EQ(re.ReplaceText("abc", "x"), "axc");
  EXPECT_TRUE(re.TestText("abc"));
}

TEST_F(RegexObjectTest, BeforeAnyPatternNothingMatches) {
  RegexObject re(codec);
  EXPECT_EQ(U(re.ReplaceText(G("标题_站点"), "$1")), "标题_站点");
  EXPECT_FALSE(re.TestText("a"));
  EXPECT_EQ(re.ExecuteText("a"), 0);
}

TEST_F(RegexObjectTest, CopyKeepsPatternAndMatchesWithAnEngineOfItsOwn) {
  std::vector<RecordingEngine::Write> log;
  int engines = 0;
  RegexObject re(codec, [&] {
    ++engines;
    return std::make_unique<RecordingEngine>(log);
  });
  re.SetPattern("a");
  const auto copy = re.Copy();
  EXPECT_EQ(engines, 2);
  EXPECT_EQ(copy->GetPattern(), "a");
  copy->SetPattern("a");  // same pattern and options: no write
  EXPECT_EQ(log.size(), 2u);  // the original's pattern, and the copy compiling it again

  RegexObject real(codec);
  real.SetPattern("\\d");
  real.ExecuteText("1a2");
  const auto realCopy = real.Copy();
  EXPECT_EQ(realCopy->MatchText(2, 0), "2");
  // The copy's new pattern leaves the original matching its own.
  realCopy->SetPattern("a");
  EXPECT_EQ(real.ReplaceText("1a2", "_"), "_a_");
  EXPECT_EQ(realCopy->ReplaceText("1a2", "_"), "1_2");
}

TEST_F(RegexObjectTest, EscapingOperations) {
  RegexObject re(codec);
  enum Op { Wildcard, All, KeepBar };
  struct Row {
    Op op;
    std::string in, want;
  };
  // "\x81\x5C" and "\x81\x7C" are single characters whose second byte reads as "\" and "|".
  const Row rows[] = {
      {Wildcard, "*.txt", ".*\\.txt"},
      {Wildcard, "a?b", "a.?b"},
      {Wildcard, "a|b", "a|b"},
      {Wildcard, "\\^$+{}[]=()\"", "\\\\\\^\\$\\+\\{\\}\\[\\]\\=\\(\\)\\\""},
      {All, "a|b+c", "a\\|b\\+c"},
      {All, "?*\\.", "\\?\\*\\\\\\."},
      {All, "\x81\x5C|\x81\x7C", "\x81\x5C\\|\x81\x7C"},
      {KeepBar, "a|b*", "a|b\\*"},
      {KeepBar, "\"x\"", "\\\"x\\\""},
      {KeepBar, "", ""},
  };
  ASSERT_EQ(codec.GbkToUtf16("\x81\x5C").size(), 1u);
  ASSERT_EQ(codec.GbkToUtf16("\x81\x7C").size(), 1u);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    const std::string got = r.op == Wildcard ? re.WildcardToPattern(r.in)
                            : r.op == All    ? re.EscapeAll(r.in)
                                             : re.EscapeKeepAlternation(r.in);
    EXPECT_EQ(got, r.want);
  }
  // What EscapeAll makes matches the text itself, and only it.
  const std::string literal = G("价格(元)+[含税]|*.?");
  re.SetPattern(re.EscapeAll(literal));
  EXPECT_EQ(U(re.ReplaceText(G("前") + literal + G("后"), "#")), "前#后");
}

TEST_F(RegexObjectTest, TwoHundredThousandCharacterTitles) {
  RegexObject re(codec);
  re.SetPattern("(.+)[_-].*");
  std::string title;
  for (int i = 0; i < 199'990; ++i) title += "\xB1\xEA";  // 标
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(re.ReplaceText(title + "_" + G("站点"), "$1"), title);
  EXPECT_EQ(re.ReplaceText(title, "$1"), title);  // no separator: unchanged
  re.SetPattern("x*?");                          // an empty match at every position
  EXPECT_EQ(re.ReplaceText(title, "").size(), title.size());
  EXPECT_EQ(re.ExecuteText(title), 199'991);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

}  // namespace
}  // namespace lanzhou::titles
