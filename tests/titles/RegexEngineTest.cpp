// The engine and its dialect translation, where the node corpus cannot reach: patterns the
// dialect refuses, anchors without multiline, and inputs that must not hurt the engine.
#include <gtest/gtest.h>

#include <string>

#include "platform/RegexEngine.h"

namespace lanzhou::platform {
namespace {

std::unique_ptr<RegexEngine> Engine() {
  auto e = CreateRegexEngine();
  EXPECT_NE(e, nullptr);
  return e;
}

TEST(RegexEngine, RefusesWhatTheDialectRefuses) {
  const char16_t* const rejected[] = {
      u"(?<=a)b", u"(?<!a)b", u"(?<n>a)", u"(?i)a", u"(?>a)", u"(?#c)", u"(?|a)", u"(?",
      u"*a",      u"+a",      u"?a",      u"{2}a",  u"a**", u"a+?+",  u"a++",   u"a{2}{3}",
      u"(*a)",    u"a|*b",    u"^*",      u"$+",    u"\\b*", u"\\B{2}", u"a{2,1}", u"[z-a]",
      u"(a",      u"a)",      u"(a))(",   u"[a",    u"[\\]", u"a\\",   u"a{70000}",
  };
  auto e = Engine();
  for (const char16_t* p : rejected) {
    SCOPED_TRACE(std::u16string_view(p).size());
    EXPECT_FALSE(e->Compile(p, true, true));
    EXPECT_FALSE(e->HasPattern());
    EXPECT_TRUE(e->Execute(u"abc", true).empty());
  }
}

TEST(RegexEngine, AcceptsLiteralBracesBracketsAndQuantifiedLookahead) {
  struct Row {
    const char16_t* pattern;
    const char16_t* subject;
    std::size_t start, end;  // the first match
  };
  const Row rows[] = {
      {u"a{,5}", u"xa{,5}", 1, 6},    {u"{", u"x{", 1, 2},         {u"x{1", u"x{1", 0, 3},
      {u"]}", u"a]}", 1, 3},          {u"(?=a)*b", u"b", 0, 1},    {u"a{1,}?", u"aaa", 0, 1},
      {u"\\c1", u"c1", 0, 2},         {u"[\\c]", u"c", 0, 1},     {u"[[:alpha:]]", u":]", 0, 2},
      {u"\\Qa", u"Qa", 0, 2},         {u"\\p{L}", u"p{L}", 0, 4}, {u"[\\Q]", u"Q", 0, 1},
  };
  auto e = Engine();
  for (const Row& r : rows) {
    SCOPED_TRACE(std::u16string_view(r.pattern).size());
    ASSERT_TRUE(e->Compile(r.pattern, false, true));
    const auto m = e->Execute(r.subject, false);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0][0].start, r.start);
    EXPECT_EQ(m[0][0].end, r.end);
  }
}

TEST(RegexEngine, AnchorsWithoutMultilineHoldOnlyAtTheEnds) {
  auto e = Engine();
  ASSERT_TRUE(e->Compile(u"^.", false, false));
  EXPECT_EQ(e->Execute(u"a\nb\rc", true).size(), 1u);
  ASSERT_TRUE(e->Compile(u"^.", false, true));
  EXPECT_EQ(e->Execute(u"a\nb\rc", true).size(), 3u);
  ASSERT_TRUE(e->Compile(u".$", false, false));
  const auto last = e->Execute(u"a\nb", true);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0][0].start, 2u);
  // An empty match at the start must not let "^" match again one unit on.
  ASSERT_TRUE(e->Compile(u"^", false, false));
  EXPECT_EQ(e->Execute(u"ab", true).size(), 1u);
}

TEST(RegexEngine, GroupsThatTookNoPartAreUnset) {
  auto e = Engine();
  ASSERT_TRUE(e->Compile(u"(a)|(b)", false, true));
  EXPECT_EQ(e->GroupCount(), 2u);
  const auto m = e->Execute(u"b", true);
  ASSERT_EQ(m.size(), 1u);
  ASSERT_EQ(m[0].size(), 3u);
  EXPECT_FALSE(m[0][1].Matched());
  EXPECT_EQ(m[0][2].start, 0u);
}

TEST(RegexEngine, SurrogatesNeverMatchAndNeverBreakTheEngine) {
  auto e = Engine();
  ASSERT_TRUE(e->Compile(u"\\uD800", true, true));
  EXPECT_TRUE(e->Execute(u"a\uE000", true).empty());
  ASSERT_TRUE(e->Compile(u"[\\uD800-\\uE000]", true, true));
  EXPECT_EQ(e->Execute(u"a\uE000\uD7FF", true).size(), 1u);
  ASSERT_TRUE(e->Compile(u"[^\\uDC00]", true, true));
  EXPECT_EQ(e->Execute(u"ab", true).size(), 2u);
  // Code page 936 text never holds a lone surrogate; one from elsewhere finds nothing.
  ASSERT_TRUE(e->Compile(u".", true, true));
  const char16_t lone[] = {u'a', 0xD800, u'b', 0};
  EXPECT_TRUE(e->Execute(lone, true).empty());
}

TEST(RegexEngine, RunawayBacktrackingEndsAsNoMatch) {
  auto e = Engine();
  ASSERT_TRUE(e->Compile(u"(a+)+[bc]", false, true));
  EXPECT_TRUE(e->Execute(std::u16string(40, u'a'), true).empty());
  // The limit ends that search only; the next pattern works as usual.
  ASSERT_TRUE(e->Compile(u"a+", false, true));
  EXPECT_EQ(e->Execute(std::u16string(40, u'a'), true).size(), 1u);
}

}  // namespace
}  // namespace lanzhou::platform
