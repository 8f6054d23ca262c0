#include "text/Gbk.h"

#include <gtest/gtest.h>

namespace lanzhou::text {
namespace {

// 0xB1 0x41 is one character whose trail byte looks like "A"; 0x81 0x40 likewise with "@".
constexpr std::string_view kTrailA = "\xB1" "A";

struct FindCase {
  std::string_view text, needle;
  std::size_t from;
  Case c;
  std::size_t expected;
};

TEST(Gbk, FindMatchesOnlyAtCharacterStartsAndFoldsAsciiOnly) {
  const FindCase cases[] = {
      {"abcABC", "ABC", 0, Case::Exact, 3},
      {"abcABC", "ABC", 0, Case::FoldAscii, 0},
      {"\xB1" "A" "A", "A", 0, Case::Exact, 2},      // trail byte skipped
      {"\xB1" "a", "A", 0, Case::FoldAscii, npos},   // and never folded into a match
      {"\xB1\xEA" "x", "\xEA" "x", 0, Case::Exact, npos},
      {"\xC4\xA3\xB0\xE5", "\xB0\xE5", 0, Case::Exact, 2},
      {"aaa", "", 0, Case::Exact, npos},
      {"ab", "abc", 0, Case::Exact, npos},
      {"xAx", "a", 2, Case::FoldAscii, npos},
      {"\x81\x40\x40", "@", 0, Case::Exact, 2},
      {"\x81" "a", "\x81" "A", 0, Case::FoldAscii, npos},  // a trail byte is never folded
      {"x\x81" "a", "X\x81" "a", 0, Case::FoldAscii, 0},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(Find(t.text, t.needle, t.from, t.c), t.expected) << t.text << " / " << t.needle;
  }
}

TEST(Gbk, ReplaceAllIsLeftToRightAndDoesNotRescanInsertedText) {
  EXPECT_EQ(ReplaceAll("aXaXa", "a", "aa"), "aaXaaXaa");
  EXPECT_EQ(ReplaceAll("'''", "''", "\""), "\"'");
  EXPECT_EQ(ReplaceAll("Body BODY", "body", "x", Case::FoldAscii), "x x");
  EXPECT_EQ(ReplaceAll(kTrailA, "A", "z"), kTrailA);
  EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
}

TEST(Gbk, CountIsNonOverlapping) {
  EXPECT_EQ(Count("aaaa", "aa"), 2u);
  EXPECT_EQ(Count("#x##x#", "#x#"), 2u);
  EXPECT_EQ(Count("AbAB", "ab", Case::FoldAscii), 2u);
  EXPECT_EQ(Count("abc", ""), 0u);
}

TEST(Gbk, FindLastEndsAtOrBeforeTheLimit) {
  EXPECT_EQ(FindLast("a]b]c]", "]", 6), 5u);
  EXPECT_EQ(FindLast("a]b]c]", "]", 5), 3u);
  EXPECT_EQ(FindLast("\xB1]]", "]", 3), 2u);
  EXPECT_EQ(FindLast("abc", "x", 3), npos);
}

TEST(Gbk, LeftCharsNeverCutsATwoByteCharacter) {
  EXPECT_EQ(LeftChars("\x81\x40" "ab", 1), "\x81\x40");
  EXPECT_EQ(LeftChars("a\xB1\xEA" "b", 2), "a\xB1\xEA");
  EXPECT_EQ(LeftChars("ab", 5), "ab");
  EXPECT_EQ(LeftChars("ab", 0), "");
  EXPECT_EQ(LeftChars("a\xB1", 2), "a\xB1");  // a lone last lead byte is one character
}

TEST(Gbk, EqualsFoldAsciiFoldsLettersButNotTrailBytes) {
  EXPECT_TRUE(EqualsFoldAscii("Key", "kEY"));
  EXPECT_FALSE(EqualsFoldAscii("\x81" "a", "\x81" "A"));
  EXPECT_FALSE(EqualsFoldAscii("a", "ab"));
}

TEST(Gbk, ReplaceFirstStartsAtTheGivenBoundary) {
  std::string s = "#a# #a#";
  EXPECT_EQ(ReplaceFirst(s, "#a#", "x"), 0u);
  EXPECT_EQ(s, "x #a#");
  EXPECT_EQ(ReplaceFirst(s, "#a#", "y", 2), 2u);
  EXPECT_EQ(s, "x y");
  EXPECT_EQ(ReplaceFirst(s, "#a#", "z"), npos);
}

TEST(Gbk, LongTextsAreSearchedInLinearTime) {
  // A text of lead bytes only: every raw hit of the needle sits inside a character.
  const std::string text(1 << 20, '\xB1');
  const std::string needle(2, '\xB1');
  EXPECT_EQ(Count(text, needle), 1u << 19);
  EXPECT_EQ(Find(text, "\xB1" "A"), npos);
}

// A page whose one content slot takes a large body holds one copy of it: appending the
// template's tail after the body once doubled the buffer, and a 1 GiB article cost three times
// its size while its page was made.
TEST(Gbk, ReplaceAllMakesRoomForALargeReplacementOnce) {
  const std::string body(1 << 20, 'x');
  const std::string page = ReplaceAll("<p>#c#</p>\r\n", "#c#", body);
  EXPECT_EQ(page.size(), body.size() + 9);
  EXPECT_LE(page.capacity(), page.size() + 64);
}

}  // namespace
}  // namespace lanzhou::text
