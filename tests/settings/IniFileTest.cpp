#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include "TestText.h"

namespace lanzhou::settings {
namespace {

// Two-byte characters whose trail bytes look like ASCII: 81 5B "[", 81 5C "\", 81 5D "]",
// 81 7C "|", 81 61 "a", 81 41 "A".
constexpr std::string_view kTrailOpen = "\x81[";
constexpr std::string_view kTrailClose = "\x81]";
constexpr std::string_view kTrailLowerA = "\x81" "a";
constexpr std::string_view kTrailUpperA = "\x81" "A";

struct ReadCase {
  const char* what;
  std::string file, section, key;
  std::optional<std::string> expected;  // nullopt: not found, the caller's default applies
};

TEST(IniRead, FollowsTheProfileRules) {
  const std::string sec = Gbk("基本配置");
  const std::string key = Gbk("模板序号");
  const ReadCase cases[] = {
      {"gbk names", "[" + sec + "]\r\n" + key + "=2\r\n", sec, key, "2"},
      {"ascii case folds", "[Basic]\r\nKey=v\r\n", "BASIC", "kEY", "v"},
      {"trail byte not folded", "[s]\r\n" + std::string(kTrailLowerA) + "=x\r\n", "s",
       std::string(kTrailUpperA), std::nullopt},
      {"trail byte exact", "[s]\r\n" + std::string(kTrailLowerA) + "=x\r\n", "s",
       std::string(kTrailLowerA), "x"},
      {"blanks around key and value", "[s]\r\n \tk \t=  \t v v \t \r\n", "s", "k", "v v"},
      {"vertical tab is a blank", "[s]\r\nk=\vv\v\r\n", "s", "k", "v"},
      {"blanks then double quotes", "[s]\r\nk=  \"  v  \"  \r\n", "s", "k", "  v  "},
      {"only the outer quotes", "[s]\r\nk='\"v\"'\r\n", "s", "k", "\"v\""},
      {"unmatched quotes stay", "[s]\r\nk=  \"  v  '  \r\n", "s", "k", "\"  v  '"},
      {"crossed quotes stay", "[s]\r\nk='\"v'\"\r\n", "s", "k", "'\"v'\""},
      {"one quote stays", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
      {"missing key", "[s]\r\na=1\r\n", "s", "k", std::nullopt},
      {"missing section", "[t]\r\nk=1\r\n", "s", "k", std::nullopt},
      {"empty file", "", "s", "k", std::nullopt},
      {"line without =", "[s]\r\nk\r\n", "s", "k", std::nullopt},
      {"comment", "[s]\r\n;k=v\r\n", "s", "k", std::nullopt},
      {"indented comment", "[s]\r\n \t;k=v\r\n", "s", "k", std::nullopt},
      {"a key cannot reach a comment", "[s]\r\n;k=v\r\n", "s", ";k", std::nullopt},
      {"no inline comments", "[s]\r\nk=;a ; b #c\r\n", "s", "k", ";a ; b #c"},
      {"first = splits", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"first duplicate key wins", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "1"},
      {"only the first section counts", "[s]\r\na=1\r\n[t]\r\nb=2\r\n[s]\r\nk=3\r\n", "s", "k",
       std::nullopt},
      {"lines before any header", "k=v\r\n[s]\r\na=1\r\n", "s", "k", std::nullopt},
      {"blanks around and inside brackets", " \t[ s \t]\r\nk=v\r\n", "s", "k", "v"},
      {"header without ]", "[s  \r\nk=v\r\n", "s", "k", "v"},
      {"text after ] ignored", "[s] ; note\r\nk=v\r\n", "s", "k", "v"},
      {"name ends at the first ]", "[a]b]\r\nk=v\r\n", "a", "k", "v"},
      {"no key on a header line", "[s]k=v\r\n", "s", "k", std::nullopt},
      {"no header without [", "s]\r\nk=v\r\n", "s", "k", std::nullopt},
      {"lf and cr end lines", "[s]\nk=v1\rj=v2\r\n", "s", "j", "v2"},
      {"cr ends a value", "[s]\nk=v1\rj=v2\r\n", "s", "k", "v1"},
      {"lone lf ends a value", "[s]\r\nk=a\nb\r\n", "s", "k", "a"},
      {"utf-8 mark hides the first header", "\xEF\xBB\xBF[s]\r\nk=v\r\n", "s", "k",
       std::nullopt},
      {"trail ] does not close a header",
       "[" + std::string(kTrailClose) + "x]\r\nk=v\r\n", std::string(kTrailClose) + "x", "k",
       "v"},
      {"trail [ does not open a header",
       "[s]\r\n" + std::string(kTrailOpen) + "=1\r\nk=v\r\n", "s", "k", "v"},
      {"trail bytes in key and value",
       "[s]\r\n" + std::string(kTrailOpen) + "\x81\\\x81]\x81|=\x81[\x81|\r\n", "s",
       std::string(kTrailOpen) + "\x81\\\x81]\x81|", "\x81[\x81|"},
      {"gbk section folds its ascii", "[Ab" + sec + "]\r\nk=v\r\n", "aB" + sec, "k", "v"},
      {"empty section name", "[]\r\nk=v\r\n", "", "k", "v"},
      {"a lead byte before cr keeps the line end", "[s]\r\nk=x\xB1\r\nj=2\r\n", "s", "j", "2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadIniValue(c.file, c.section, c.key), c.expected) << c.what;
  }
}

TEST(IniRead, LongValuesComeBackWhole) {
  const std::string value = std::string(30000, 'A') + Gbk("中") + "B";
  EXPECT_EQ(ReadIniValue("[s]\r\nk=" + value + "\r\n", "s", "k"), value);
}

TEST(IniRead, DefaultLosesOnlyItsTrailingSpaces) {
  EXPECT_EQ(IniDefault("  d  "), "  d");
  EXPECT_EQ(IniDefault("d\t"), "d\t");
  EXPECT_EQ(IniDefault("\"d\""), "\"d\"");
  EXPECT_EQ(IniDefault("   "), "");
}

struct WriteCase {
  const char* what;
  std::string before, section, key, value, after;
};

TEST(IniWrite, ChangesOneLineAndKeepsEveryOtherByte) {
  const std::string sec = Gbk("基本配置");
  const std::string key = Gbk("模板序号");
  const std::string pattern = Gbk("匹配式");
  const std::string trailValue = "\x81[\x81\\\x81]\x81|" + Gbk("标题");
  const std::string keep = "junk before\r\n; c1\r\n[t]\r\n  x = 1  \r\n\r\n[" + sec + "]\r\n" +
                           Gbk("旧键") + "=1\r\n;c2\r\n" + key + "=";
  const WriteCase cases[] = {
      {"missing file", "", sec, key, "0", "[" + sec + "]\r\n" + key + "=0\r\n"},
      {"replace in place", "[s]\r\na=1\r\nk=old\r\nb=2\r\n", "s", "k", "new",
       "[s]\r\na=1\r\nk=new\r\nb=2\r\n"},
      {"file's spelling kept", "[S]\r\nKey=old\r\n", "s", "KEY", "new", "[S]\r\nKey=new\r\n"},
      {"after the last key, before the next header", "[s]\r\na=1\r\n[t]\r\nb=2\r\n", "s", "k",
       "v", "[s]\r\na=1\r\nk=v\r\n[t]\r\nb=2\r\n"},
      {"before a trailing comment", "[s]\r\na=1\r\n;note\r\n[t]\r\n", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n;note\r\n[t]\r\n"},
      {"a commented key is a comment", "[s]\r\na=1\r\n;b=2\r\n", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n;b=2\r\n"},
      {"before a blank line", "[s]\r\na=1\r\n\r\n[t]\r\nb=2\r\n", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n\r\n[t]\r\nb=2\r\n"},
      {"section without keys", "[s]\r\n[t]\r\n", "s", "k", "v", "[s]\r\nk=v\r\n[t]\r\n"},
      {"a bare line is not the key", "[s]\r\nk\r\n", "s", "k", "v", "[s]\r\nk=v\r\nk\r\n"},
      {"new section at the end", "[t]\r\nb=2\r\n", "s", "k", "v",
       "[t]\r\nb=2\r\n[s]\r\nk=v\r\n"},
      {"unterminated last line", "[t]\r\nb=2", "s", "k", "v", "[t]\r\nb=2\r\n[s]\r\nk=v\r\n"},
      {"last line ends in a lone cr", "[t]\r", "s", "k", "v", "[t]\r[s]\r\nk=v\r\n"},
      {"replaced unterminated line", "[s]\r\nk=old", "s", "k", "new", "[s]\r\nk=new\r\n"},
      {"added after an unterminated key", "[s]\r\na=1", "s", "k", "v", "[s]\r\na=1\r\nk=v\r\n"},
      {"added after an unterminated header", "[s]", "s", "k", "v", "[s]\r\nk=v\r\n"},
      {"value verbatim", "[s]\r\nk=1\r\n", "s", "k", "  \"v\" \t", "[s]\r\nk=  \"v\" \t\r\n"},
      {"empty value", "[s]\r\nk=old\r\n", "s", "k", "", "[s]\r\nk=\r\n"},
      {"blanks around = kept", "[s]\r\n  k = old\r\n", "s", "k", "new", "[s]\r\n  k =new\r\n"},
      {"first duplicate key", "[s]\r\nk=1\r\nk=2\r\n", "s", "k", "3", "[s]\r\nk=3\r\nk=2\r\n"},
      {"first duplicate section", "[s]\r\na=1\r\n[t]\r\n[s]\r\nb=2\r\n", "s", "k", "v",
       "[s]\r\na=1\r\nk=v\r\n[t]\r\n[s]\r\nb=2\r\n"},
      {"lf-only file keeps its ends", "[s]\nk=1\nj=2\n", "s", "k", "5", "[s]\nk=5\r\nj=2\n"},
      {"new key in an lf-only file", "[s]\na=1\n[t]\n", "s", "k", "v",
       "[s]\na=1\nk=v\r\n[t]\n"},
      {"everything else untouched", keep + "0\r\n", sec, key, "3", keep + "3\r\n"},
      {"trail bytes pass through", "[" + sec + "]\r\n" + pattern + "=x\r\n", sec, pattern,
       trailValue, "[" + sec + "]\r\n" + pattern + "=" + trailValue + "\r\n"},
      {"trail ] inside a section name",
       "[" + std::string(kTrailClose) + "]\r\na=1\r\n", std::string(kTrailClose), "k", "v",
       "[" + std::string(kTrailClose) + "]\r\na=1\r\nk=v\r\n"},
      {"trail byte never folded into a match", "[s]\r\n" + std::string(kTrailLowerA) + "=1\r\n",
       "s", std::string(kTrailUpperA), "2",
       "[s]\r\n" + std::string(kTrailLowerA) + "=1\r\n" + std::string(kTrailUpperA) + "=2\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WriteIniValue(c.before, c.section, c.key, c.value), c.after) << c.what;
  }
}

TEST(IniWrite, NewKeysFollowOneAnotherInWritingOrder) {
  std::string file = "[s]\r\na=1\r\n;end of s\r\n[t]\r\n";
  for (const char* key : {"z", "b", "m"}) file = WriteIniValue(file, "s", key, "v");
  EXPECT_EQ(file, "[s]\r\na=1\r\nz=v\r\nb=v\r\nm=v\r\n;end of s\r\n[t]\r\n");
}

TEST(IniWrite, WhatIsWrittenReadsBack) {
  std::string file = "; settings\r\n[t]\r\nk=other\r\n";
  const std::string value = "x=\x81[y\x81]" + std::string(20000, 'z');
  file = WriteIniValue(file, "s", "k", value);
  file = WriteIniValue(file, "S", "K2", "2");
  EXPECT_EQ(ReadIniValue(file, "s", "k"), value);
  EXPECT_EQ(ReadIniValue(file, "s", "k2"), "2");
  EXPECT_EQ(ReadIniValue(file, "t", "k"), "other");
}

}  // namespace
}  // namespace lanzhou::settings
