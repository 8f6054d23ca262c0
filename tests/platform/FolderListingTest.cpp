#include "platform/FolderListing.h"

#include <gtest/gtest.h>

#include "FakeFileSystem.h"

namespace lanzhou::platform {
namespace {

TEST(WildcardMatch, MatchesAsTheDesktopSearchDoes) {
  const struct {
    std::u16string_view pattern, name;
    bool match;
  } cases[] = {
      {u"*.txt", u"a.txt", true},      {u"*.txt", u"A.TXT", true},
      {u"*.txt", u"a.txt.bak", false}, {u"*.txt", u"txt", false},
      {u"*.*", u"README", true},       {u"*.", u"README", true},
      {u"*.", u"a.b", false},          {u"a?c", u"abc", true},
      {u"a?c", u"ac", false},          {u"*", u".hidden", true},
      {u"*文*", u"中文名.txt", true},   {u"*.ＴＸＴ", u"a.ｔｘｔ", true},  // full-width letters fold too
      {u"**a**b", u"xxaxxbxxb", true}, {u"", u"a", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match)
        << std::string(c.pattern.begin(), c.pattern.end()).size();
  }
}

TEST(ListFolder, FilesOnlySortedByUpperCasedUnits) {
  testing::FakeFileSystem fs;
  for (const char* name : {"b.txt", "_x.txt", "A.txt", "a.txt", "Z.txt", "\xE4\xB8\xAD.txt"}) fs.Add(std::string("/d/") + name, "");
  fs.Add("/d/sub.txt/inner.txt", "");  // a folder whose name matches
  const Codec codec;
  int looked = 0;
  const auto paths = ListFolder(fs, codec, "/d", "*.txt", [&] { ++looked; });
  // "_" (0x5F) sorts after the upper-cased letters (0x41-0x5A), as on the original platform.
  const std::vector<std::string> expected = {"/d/A.txt", "/d/a.txt", "/d/b.txt", "/d/Z.txt",
                                             "/d/_x.txt", "/d/\xE4\xB8\xAD.txt"};
  EXPECT_EQ(paths, expected);
  EXPECT_EQ(looked, 7);  // every entry, the folder included
  EXPECT_TRUE(ListFolder(fs, codec, "/nowhere", "*").empty());
}

}  // namespace
}  // namespace lanzhou::platform
