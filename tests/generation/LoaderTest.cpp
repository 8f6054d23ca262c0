#include "generation/ArticleLoader.h"

#include <gtest/gtest.h>

#include "GenerationTestSupport.h"
#include "settings/PlainSettings.h"

namespace lanzhou::generation {
namespace {

using settings::PlainSettings;
using testing::G;

struct Loaded {
  ArticleInfo info;
  std::size_t unreadable;
};

Loaded Load(const std::string& name, std::optional<std::string> bytes, const PlainSettings& s) {
  testing::FakeFileSystem files;
  testing::FakeClock clock;
  platform::Platform p{testing::TestCodec(), files, clock};
  if (bytes) files.Add("/d/" + name, *bytes);
  LoaderContext ctx{p};
  ArticleInfo info = LoadArticle(testing::PathOf("/d/" + name), s, ctx);
  return {std::move(info), ctx.unreadable};
}

TEST(FileNames, TitleIsTheNameUpToItsFirstDot) {
  const struct {
    std::string_view path, name, title;
  } cases[] = {
      {"/d/a.b.txt", "a.b.txt", "a"},
      {"/d/.txt", ".txt", ""},
      {"plain", "plain", "plain"},
      {"/d/\xB1\x2E" "x.txt", "\xB1\x2E" "x.txt", "\xB1\x2E" "x"},  // 0x2E as a trail byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameOf(c.path), c.name) << c.path;
    EXPECT_EQ(FileTitleOf(c.path), c.title) << c.path;
  }
}

TEST(Loader, TitleSourcesAndTheirFallbacks) {
  const struct {
    TitleSource source;
    std::string_view body;
    std::string_view title;
  } cases[] = {
      {TitleSource::HtmlTitle, "<TITLE>Hello</Title>", "Hello"},
      {TitleSource::HtmlTitle, "<title></title>", "a"},
      {TitleSource::HtmlTitle, "<title>x", "a"},
      {TitleSource::HtmlTitle, "<title> </title>", " "},
      {TitleSource::HtmlTitle, "<title>1</title><title>2</title>", "1"},
      {TitleSource::FileName, "<title>t</title>", "a"},
      {TitleSource::FirstLine, "\r\n\r\nHello\r\nWorld", "Hello"},
      {TitleSource::FirstLine, "", ""},
  };
  for (const auto& c : cases) {
    PlainSettings s;
    s.values.titleSource = static_cast<int>(c.source);
    EXPECT_EQ(Load("a.b.txt", std::string(c.body), s).info.title, c.title) << c.body;
  }
  PlainSettings noSelection;
  noSelection.values.titleSource = -1;  // a list without a selection reads first lines
  EXPECT_EQ(Load("a.txt", std::string("x\r\ny"), noSelection).info.title, "x");
}

TEST(Loader, PageNameTakesTheExtensionUnchanged) {
  PlainSettings s;
  EXPECT_EQ(Load("a.b.txt", "", s).info.pageName, "a.b.txt");
  s.values.useExtension = true;
  EXPECT_EQ(Load("a.b.txt", "", s).info.pageName, "a.htm");
  EXPECT_EQ(Load(".txt", "", s).info.pageName, ".htm");
  s.values.extension = "";
  EXPECT_EQ(Load("a.txt", "", s).info.pageName, "a.");
}

TEST(Loader, AnUnreadableFileIsEmptyAndCounted) {
  PlainSettings s;
  const Loaded missing = Load("gone.txt", std::nullopt, s);
  EXPECT_EQ(missing.info.title, "gone");
  EXPECT_EQ(missing.info.body, "");
  EXPECT_EQ(missing.unreadable, 1u);
  s.values.titleSource = static_cast<int>(TitleSource::FirstLine);
  EXPECT_EQ(Load("gone.txt", std::nullopt, s).info.title, "");
  EXPECT_EQ(Load("empty.txt", "", s).unreadable, 0u);  // empty is not unreadable
}

TEST(FirstLineTitle, LinesAndRemoval) {
  const struct {
    std::string_view body;
    bool remove;
    std::string_view title, bodyAfter;
  } cases[] = {
      {"\r\n\r\nHello\r\nWorld", true, "Hello", "\r\n\r\nWorld"},
      // Unix text: the title line goes whichever line end follows it first.
      {"Hello\nWorld", true, "Hello", "World"},
      {"\n\nHello\nWorld\r\n", true, "Hello", "\n\nWorld\r\n"},
      {"Hi\nsay Hi\r\n", true, "Hi", "say Hi\r\n"},
      {"x Hi\r\nHi\n", true, "x Hi", "Hi\n"},
      {"\n\n", true, "", "\n"},
      {"Only line", true, "Only line", "Only line"},
      {"\r\n\r\n", true, "", "\r\n"},
      {"\r\n\x1A" "Hidden\r\n", false, "", "\r\n\x1A" "Hidden\r\n"},
      {"  \r\nx", false, "  ", "  \r\nx"},  // a line of blanks is not empty
      {"a\r\r\nb", false, "a\r", "a\r\r\nb"},  // only one CR before the LF goes
      {"x\r\nHello\r\nHello\r\n", false, "x", "x\r\nHello\r\nHello\r\n"},
      {"Hi\r\nsay Hi\r\n", true, "Hi", "say Hi\r\n"},
  };
  for (const auto& c : cases) {
    std::string body(c.body);
    EXPECT_EQ(FirstLineTitle(body, c.remove).title, c.title) << c.body;
    EXPECT_EQ(body, c.bodyAfter) << c.body;
  }
}

TEST(FirstLineTitle, CutsAtTwoHundredCharactersWithoutSplittingOne) {
  // 201 characters: "a" then 200 two-byte ones whose trail byte is below 0x80.
  std::string line = "a";
  for (int i = 0; i < 200; ++i) line += "\x81\x40";
  std::string body = line + "\r\nrest";
  const auto r = FirstLineTitle(body, true);
  EXPECT_EQ(r.title.size(), 1u + 199 * 2);
  EXPECT_FALSE(r.bodyChanged);  // the cut title plus CR LF is not in the body
}

TEST(Decode, EncodingsMarksAndNul) {
  const auto& codec = testing::TestCodec();
  const struct {
    FileEncoding encoding;
    std::string_view bytes;
    std::string expected;
  } cases[] = {
      {FileEncoding::AnsiGbk, "\xC4\xE3" "a\0b", "\xC4\xE3" "a"},
      {FileEncoding::AnsiGbk, "\xEF\xBB\xBF" "x", "\xEF\xBB\xBF" "x"},  // GBK text: bytes as they are
      {FileEncoding::Utf8, "\xEF\xBB\xBF\xE4\xBD\xA0", G("你")},       // a matching mark is no content
      {FileEncoding::Utf8, "a\xE6" "b", "a?b"},                          // malformed: one "?"
      {FileEncoding::Utf8, "x\xEF\xBB\xBFy", "x?y"},                     // a mark inside is a character
      {FileEncoding::Unicode, std::string_view("\xFF\xFE\x60\x4F" "a", 5), G("你")},  // odd byte ignored
      {FileEncoding::Unicode, std::string_view("a\0\0\0b\0", 6), "a"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodeArticleText(c.bytes, static_cast<int>(c.encoding), codec), c.expected)
        << static_cast<int>(c.encoding) << " " << testing::U(c.expected);
  }
}

}  // namespace
}  // namespace lanzhou::generation
