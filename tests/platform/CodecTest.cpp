#include "platform/Codec.h"

#include "Hex.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace lanzhou::platform {
namespace {


// string_view literals, so embedded NULs count.
using namespace std::string_view_literals;

const Codec& TheCodec() {
  static const Codec codec;
  return codec;
}

struct Utf8Case {
  std::string_view utf8;
  std::u16string_view units;
};

TEST(Codec, MalformedUtf8GivesOneReplacementPerMaximalIllFormedPart) {
  const Utf8Case cases[] = {
      {"\xC0\xC0\x80"sv, u"\uFFFD\uFFFD\uFFFD"sv},  // C0 can never start a sequence
      {"\xE0\x20\xC0"sv, u"\uFFFD \uFFFD"sv},       // the space after a cut sequence survives
      {"\xE6"sv, u"\uFFFD"sv},
      {"\xE6\x97"sv, u"\uFFFD"sv},                  // a truncated sequence is one part
      {"\xE6\x97" "A"sv, u"\uFFFD" "A"sv},
      {"\xE6\x97\xA5\xE6"sv, u"\u65E5\uFFFD"sv},    // 日 then a cut lead
      {"\x80\xBF"sv, u"\uFFFD\uFFFD"sv},            // stray continuation bytes, one each
      {"\xF0\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD"sv},  // overlong: F0 needs 90-BF next
      {"\xF0\x9F\x98"sv, u"\uFFFD"sv},
      {"\xF4\x90\x80\x80"sv, u"\uFFFD\uFFFD\uFFFD\uFFFD"sv},  // above U+10FFFF
      {"\xED\xA0\x80"sv, u"\uFFFD\uFFFD\uFFFD"sv},  // an encoded surrogate is not UTF-8
      {"\xFE\xFF"sv, u"\uFFFD\uFFFD"sv},
      {"\xF0\x9F\x98\x80"sv, u"\U0001F600"sv},      // well formed: a surrogate pair
      {"\xEF\xBB\xBF" "a"sv, u"\uFEFF" "a"sv},      // a byte-order mark is kept as a character
      {"a\0b"sv, u"a\0b"sv},                        // NUL is converted, not an end
      {""sv, u""sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(TheCodec().Utf8ToUtf16(c.utf8)), Hex(c.units)) << Hex(c.utf8);
  }
}

struct EncodeCase {
  std::u16string_view units;
  std::string_view gbk;
};

TEST(Codec, Utf16ToGbkPrecomposesWhereCodePage936HoldsTheResult) {
  const EncodeCase cases[] = {
      {u"a\u0301"sv, "\xA8\xA2"sv},             // á
      {u"\u00FC\u0300"sv, "\xA8\xB8"sv},        // ǜ from ü + grave
      {u"u\u0308\u0301"sv, "\xA8\xB9?"sv},      // only one step: ü, then the lone acute
      {u"\u304B\u3099"sv, "\xA4\xAC"sv},        // が
      {u"\u30CF\u309A"sv, "\xA5\xD1"sv},        // パ
      {u"=\u0338"sv, "\xA1\xD9"sv},             // ≠
      {u"\u0435\u0308"sv, "\xA7\xD7"sv},        // ё
      {u"A\u0300"sv, "\xA8\xA4"sv},             // À exists only by best fit: à's bytes
      {u"q\u0301"sv, "q?"sv},                   // no precomposed q́: the mark alone is "?"
      {u"\u1E3F"sv, "?"sv},                     // ḿ is not in the code page either way
      {u"m\u0301"sv, "m?"sv},
      {u"a\u0301b"sv, "\xA8\xA2" "b"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(TheCodec().Utf16ToGbk(c.units)), Hex(c.gbk)) << Hex(c.units);
  }
}

TEST(Codec, Utf16ToGbkWritesAQuestionMarkForWhatCodePage936Lacks) {
  const EncodeCase cases[] = {
      {u"\uFEFFa"sv, "?a"sv},                   // invisible characters show, not vanish
      {u"a\u200Bb"sv, "a?b"sv},
      {u"\u200E\u202E\u2060\uFE0F\u034F\u3164"sv, "??????"sv},
      {u"\uFFE9\uFFEA\uFFEB\uFFEC\uFFEE"sv, "?????"sv},  // not the control bytes of ICU's fallbacks
      {u"\U0001F600"sv, "?"sv},                 // one character, one "?"
      {u"x\U00020000y"sv, "x?y"sv},
      {u"\xD83D" "a"sv, "?a"sv},                // unpaired surrogates
      {u"a\xDE00"sv, "a?"sv},
      {u"\xD83D\xD83D\xDE00"sv, "??"sv},
      {u"\u00A0\u30FB"sv, "??"sv},
      {u"\u0301"sv, "?"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(TheCodec().Utf16ToGbk(c.units)), Hex(c.gbk)) << Hex(c.units);
  }
}

TEST(Codec, Utf16ToGbkTakesBestFitAndKeepsEveryUnit) {
  const EncodeCase cases[] = {
      {u"\u00C0"sv, "\xA8\xA4"sv},              // À → à
      {u"\u00A5"sv, "\xA3\xA4"sv},              // ¥ → ￥
      {u"\u3280"sv, "\xD2\xBB"sv},              // ㊀ → 一
      {u"\u00B7\u2014\u2015\u3000"sv, "\xA1\xA4\xA1\xAA\xA8\x44\xA1\xA1"sv},
      {u"\u20AC\uF8F5\uE000"sv, "\x80\xFF\xAA\xA1"sv},
      {u"\u5C9A\u821F"sv, "\xE1\xB0\xD6\xDB"sv},  // 岚舟
      {u"a\0b"sv, "a\0b"sv},                    // NUL converted like any unit
      {u"?"sv, "?"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(TheCodec().Utf16ToGbk(c.units)), Hex(c.gbk)) << Hex(c.units);
  }
}

TEST(Codec, GbkToUtf16ReadsStrayLeadBytesAsQuestionMarks) {
  const Utf8Case cases[] = {
      {"\xBF\xB4\xC7"sv, u"\u770B?"sv},              // 看 then a lead with nothing after it
      {"\xBF\xB4\xC7\0x"sv, u"\u770B?\0x"sv},        // NUL is no trail byte and survives
      {"\x81\x30"sv, u"?0"sv},                       // the bad trail is read on its own
      {"\x81\x7F"sv, u"?\x7F"sv},
      {"\x81\xFF"sv, u"?\uF8F5"sv},
      {"\x81\x40"sv, u"\u4E02"sv},
      {"\x80"sv, u"\u20AC"sv},
      {"\xFF"sv, u"\uF8F5"sv},
      {"\xAA\xA1"sv, u"\uE000"sv},                   // user-defined area
      {"\xE1\xB0\xD6\xDB" "1"sv, u"\u5C9A\u821F" "1"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(TheCodec().GbkToUtf16(c.utf8)), Hex(c.units)) << Hex(c.utf8);
  }
}

TEST(Codec, Utf16LeUnitsIgnoreAnOddLastByte) {
  EXPECT_EQ(Codec::Utf16LeToUnits("A\0B"sv), u"A"sv);
  EXPECT_EQ(Codec::Utf16LeToUnits("\x3D\xD8\x00\xDE"sv), u"\U0001F600"sv);
  EXPECT_EQ(Codec::Utf16LeToUnits("\xFE\xFF" "a\0"sv), u"\uFFFE" "a"sv);  // no BOM sniffing
  EXPECT_EQ(Codec::Utf16LeToUnits("\x9A\x5C\x1F\x82\x00\x00"sv), u"\u5C9A\u821F\0"sv);
  EXPECT_EQ(Codec::Utf16LeToUnits("x"sv), u""sv);
}

TEST(Codec, Utf8AndGbkRoundTripThroughUtf16) {
  const std::string_view gbk = "\xE1\xB0\xD6\xDB\xCE\xC4\xBC\xAF \x80\xFF\xAA\xA1"sv;
  EXPECT_EQ(TheCodec().GbkToUtf8(gbk), "岚舟文集 €\uF8F5\uE000");
  EXPECT_EQ(TheCodec().Utf8ToGbk(TheCodec().GbkToUtf8(gbk)), gbk);
  EXPECT_EQ(TheCodec().Utf16ToUtf8(u"a\xD800" "b"sv), "a\uFFFD" "b");  // a lone surrogate
}

struct FileNameCase {
  std::string_view native;
  std::string_view gbk;
  bool exact;
};

TEST(Codec, FileNamesTakeOnlyCharactersThatComeBackTheSame) {
  const FileNameCase cases[] = {
      {"岚舟文集.txt"sv, "\xE1\xB0\xD6\xDB\xCE\xC4\xBC\xAF.txt"sv, true},
      {"01-a_b.htm"sv, "01-a_b.htm"sv, true},
      {"€\uE000"sv, "\x80\xAA\xA1"sv, true},
      {"tea😀.txt"sv, "tea_.txt"sv, false},          // one character, one "_"
      {"\u00C0.txt"sv, "_.txt"sv, false},            // best fit would name à's file
      {"\u00A5"sv, "_"sv, false},
      {"e\u0301"sv, "e_"sv, false},                  // no precomposition: é is another name
      {"\u200B\uFEFF"sv, "__"sv, false},
      {"a\xFF" "b"sv, "a_b"sv, false},               // bytes that are not UTF-8
      {"a\xE6\x97"sv, "a_"sv, false},
      {"?"sv, "?"sv, true},
  };
  for (const auto& c : cases) {
    bool exact = !c.exact;
    EXPECT_EQ(Hex(TheCodec().FileNameToGbk(c.native, &exact)), Hex(c.gbk)) << c.native;
    EXPECT_EQ(exact, c.exact) << c.native;
    if (c.exact) {
      EXPECT_EQ(TheCodec().GbkToFileName(c.gbk), c.native);
    }
  }
  EXPECT_EQ(TheCodec().FileNameToGbk("a😀"), "a_");  // `exact` may be left out
}

// Large articles are converted a block at a time. Cutting a text anywhere must give the bytes
// of converting it whole: not inside a UTF-8 sequence (well- or ill-formed), not between the
// halves of a surrogate pair, not between a letter and the mark it is precomposed with.
TEST(Codec, BlockByBlockGivesTheBytesOfTheWholeText) {
  const std::string_view texts[] = {
      "e\u0301e\u0301a\u0300\u0301 \u4E2D\u6587\U0001F600x"sv,
      "\xE6\x97\x80\x80\x80\x80\xE4\xB8\xADok\xF0\x9F\x98\xC3\xA9"sv,
      "\xCC\x81\xCC\x81\xCC\x81" "abc\xE2\x80\x8B\xEF\xBB\xBF"sv,
      "\xC3"sv,
  };
  for (const auto& text : texts) {
    const std::string whole = TheCodec().Utf8ToGbk(text, 1 << 20);
    const std::u16string units = TheCodec().Utf8ToUtf16(text);
    std::string le;
    for (char16_t u : units) {
      le += static_cast<char>(u & 0xFF);
      le += static_cast<char>(u >> 8);
    }
    EXPECT_EQ(Hex(TheCodec().Utf16ToGbk(units)), Hex(whole));
    for (std::size_t block = 4; block < 12; ++block) {
      EXPECT_EQ(Hex(TheCodec().Utf8ToGbk(text, block)), Hex(whole)) << text << " / " << block;
      EXPECT_EQ(Hex(TheCodec().Utf16LeToGbk(le, block)), Hex(whole)) << text << " / " << block;
    }
  }
  EXPECT_EQ(TheCodec().Utf16LeToGbk("a\0b\0c"sv), "ab");  // an odd last byte is no unit
}

}  // namespace
}  // namespace lanzhou::platform
