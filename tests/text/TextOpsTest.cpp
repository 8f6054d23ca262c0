#include "text/TextOps.h"

#include <gtest/gtest.h>

namespace lanzhou::text {
namespace {

struct BetweenCase {
  std::string_view text, left, right;
  std::string_view expected;
};

TEST(TextBetween, ForwardWithDefaults) {
  const BetweenCase cases[] = {
      {"<TITLE>Hello</Title>", "<title>", "</title>", "Hello"},
      {"<title></title>", "<title>", "</title>", ""},
      {"<title>x", "<title>", "</title>", ""},
      {"x</title>", "<title>", "</title>", ""},
      {"<title> </title>", "<title>", "</title>", " "},
      {"<title>a</title><title>b</title>", "<title>", "</title>", "a"},
      {"abc]", "", "]", "abc"},          // empty left marker: from the start
      {"abc", "a", "", ""},              // empty right marker: always empty
      {"", "", "", ""},
      // A marker byte inside a two-byte character is not a marker.
      {"\xB1[x[y]", "[", "]", "y"},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(TextBetween(t.text, t.left, t.right), t.expected) << t.text;
  }
}

TEST(TextBetween, StartPositionWalksPairsForwardAndBackward) {
  long start = 0;
  EXPECT_EQ(TextBetween("xx[a]yy[b]", "[", "]", start), "a");
  EXPECT_EQ(start, 6);
  EXPECT_EQ(TextBetween("xx[a]yy[b]", "[", "]", start), "b");
  EXPECT_EQ(start, 11);
  EXPECT_EQ(TextBetween("xx[a]yy[b]", "[", "]", start), "");
  EXPECT_EQ(start, 11);  // unchanged when nothing is found

  TextBetweenOptions back;
  back.reverse = true;
  start = 0;
  EXPECT_EQ(TextBetween("xx[a]yy[b]", "[", "]", start, back), "b");
  EXPECT_EQ(start, 8);
  EXPECT_EQ(TextBetween("xx[a]yy[b]", "[", "]", start, back), "a");
  EXPECT_EQ(start, 3);
}

TEST(TextBetween, OffsetsAndQuoteConversion) {
  long start = 0;
  TextBetweenOptions o;
  o.leftOffset = 1;
  o.rightOffset = 1;
  EXPECT_EQ(TextBetween("[abcd]", "[", "]", start, o), "bc");
  start = 0;
  o = {};
  o.convertQuotes = true;
  EXPECT_EQ(TextBetween("a=\"x\"", "a=''", "''", start, o), "x");
  start = 0;
  o = {};
  o.leftOffset = -5;  // would start before the text
  EXPECT_EQ(TextBetween("[ab]", "[", "]", start, o), "");
}

TEST(SplitList, EmptyPiecesCountExceptATrailingOne) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(SplitList("", "|"), V{});
  EXPECT_EQ(SplitList("a|b|", "|"), (V{"a", "b"}));
  EXPECT_EQ(SplitList("|a||b", "|"), (V{"", "a", "", "b"}));
  EXPECT_EQ(SplitList("a|b", ""), V{"a|b"});
  EXPECT_EQ(SplitList("\xB1|x|y", "|"), (V{"\xB1|x", "y"}));  // 0x7C as a trail byte
}

TEST(PairedReplace, PairsFindAndReplacementItems) {
  EXPECT_EQ(PairedReplace("aAbBc", "a|b", "x"), "xxc");
  EXPECT_EQ(PairedReplace("ab", "a|b", "x|y|z"), "xy");
  EXPECT_EQ(PairedReplace("abc", "", "x"), "abc");
  EXPECT_EQ(PairedReplace("aA", "a", "x", true), "xA");
  EXPECT_EQ(PairedReplace("a-b", "a|-", "b|+"), "b+b");  // each pair works on the result before
  EXPECT_EQ(PairedReplace("x(.+)[_-].*y", "(.+)[_-].*", "$1"), "x$1y");
}

TEST(ConvertQuotes, TwoApostrophesMakeADoubleQuote) {
  EXPECT_EQ(ConvertQuotes("<a href=''x''>"), "<a href=\"x\">");
  EXPECT_EQ(ConvertQuotes("'''"), "\"'");
  EXPECT_EQ(ConvertQuotes("'"), "'");
}

}  // namespace
}  // namespace lanzhou::text
