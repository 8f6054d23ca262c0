// A run reuses titles and page names and assembles pages in one pass; none of it may change a
// byte or the moments at which options are read. Each test compares the fast path with the
// plain definition: every neighbour and pick loaded anew from its whole file, pages filled
// step by step.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "GenerationTestSupport.h"
#include "generation/ArticleLoader.h"
#include "generation/PageFill.h"
#include "generation/TitleLoader.h"
#include "text/TextOps.h"
#include "titles/RegexObject.h"
#include "titles/TitleRewriting.h"

namespace lanzhou::generation {
namespace {

using testing::DiskRun;
using testing::FakeRun;
using testing::G;
using testing::PathOf;
using testing::TestCodec;

std::string Utf16Le(std::u16string_view units) {
  std::string out;
  for (char16_t u : units) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

std::string LongLine() {
  std::string line;
  for (int i = 0; i < 250; ++i) line += G("长");
  return line;
}

// Articles whose titles and names trip up a reuse, a shortened read or a one-pass fill.
std::vector<std::pair<std::string, std::string>> TrickyArticles() {
  const std::string filler(5000, 'x');
  return {
      {"a.b.txt", G("<title>#本篇标题#|''引号</title><body>正文 #导入的文件内容#</body>")},
      {".txt", ""},
      {"hash#1.txt", G("<TITLE>#随机篇链接##随机篇标题#</Title>")},
      {"lead.txt", "<title>abc\xB0</title>\r\nabc\xB0\r\n"},
      {"nul.txt", std::string("<title>x\0</title>", 17)},
      {"far.txt", filler + G("<title>远处的标题</title>")},
      {"split.txt", std::string(4090, ' ') + "<title>across</title>"},
      {"lines.txt", G("\r\n\r\n\r\n  \r\n第一行\r\n第二行")},
      {"sub.txt", "\r\n\x1A\r\nafter"},
      {"long.txt", LongLine() + "\r\nnext"},
      {"lf.txt", "Hello\nWorld"},
      {"empty-title.txt", "<title></title>rest"},
      {"pct%41 q?.txt", G("<title>名-字_后缀</title>")},
      {G("本篇标题"), "<title>#</title>"},
      {"far-line.txt", std::string(6000, '\n') + "late line\r\n"},
      {"gone.txt", "<title>never read</title>"},
  };
}

struct Options {
  int titleSource;
  std::optional<std::string> extension;
  int rewrite;  // 0 off, 1 regex, 2 plain
};

// Every article twice in the list, pages compared file by file, and option edits made inside
// ProcessEvents at fixed event numbers, so both runs meet them at the same moments.
std::map<std::string, std::string> RunTricky(const Options& o, bool reuse, int* events,
                                             std::vector<std::string>* captions) {
  FakeRun run;
  run.reuseTitles = reuse;
  run.settings.values.titleSource = o.titleSource;
  run.settings.values.useExtension = o.extension.has_value();
  run.settings.values.extension = o.extension.value_or("htm");
  run.settings.values.replaceTitle = o.rewrite != 0;
  run.settings.values.useRegex = o.rewrite == 1;
  if (o.rewrite == 2) {
    run.settings.values.matchPattern = G("#|本篇|-");
    run.settings.values.replacementText = G("＃||~");
  }
  run.settings.values.makeIndex = true;
  run.settings.values.pageSizeText = "7";
  run.files.failRead = [](const std::string& p) { return p.ends_with("gone.txt"); };
  const auto articles = TrickyArticles();
  for (int round = 0; round < 2; ++round) {
    for (const auto& [name, bytes] : articles) run.AddArticle(TestCodec().GbkToFileName(name), bytes);
  }
  int seen = 0;
  run.host.duringEvents = [&] {
    ++seen;
    auto& v = run.settings.values;
    if (seen % 97 == 0) v.useExtension = !v.useExtension;
    if (seen % 131 == 0) v.titleSource = (v.titleSource + 1) % 3;
    if (seen % 151 == 0) v.replacementText += "!";
    if (seen % 173 == 0) v.extension = v.extension == "htm" ? "" : "htm";
  };
  titles::RegexObject regex(TestCodec());
  titles::TitleRewriting rewriting(regex);
  run.Run(&rewriting, 11);
  *events = run.host.events;
  *captions = run.host.captions;
  return run.files.files;
}

TEST(TitleReuse, PagesEventsAndCaptionsEqualThoseOfLoadingEveryTitleAnew) {
  for (int source : {0, 1, 2, -1}) {
    for (const auto& ext : {std::optional<std::string>(), std::optional<std::string>("htm"),
                            std::optional<std::string>("")}) {
      for (int rewrite : {0, 1, 2}) {
        const Options o{source, ext, rewrite};
        int plainEvents = 0, fastEvents = 0;
        std::vector<std::string> plainCaptions, fastCaptions;
        const auto plain = RunTricky(o, false, &plainEvents, &plainCaptions);
        const auto fast = RunTricky(o, true, &fastEvents, &fastCaptions);
        const std::string what = "source " + std::to_string(source) + " ext " +
                                 ext.value_or("off") + " rewrite " + std::to_string(rewrite);
        EXPECT_EQ(fastEvents, plainEvents) << what;
        EXPECT_EQ(fastCaptions, plainCaptions) << what;
        ASSERT_EQ(fast.size(), plain.size()) << what;
        for (const auto& [path, bytes] : plain) {
          EXPECT_EQ(fast.at(path), bytes) << what << ": " << path;
        }
      }
    }
  }
}

// The same on disk, where titles are read through the file system's piecewise reads, in all
// three encodings.
TEST(TitleReuse, ADiskRunInEachEncodingGivesThePagesOfLoadingEveryTitleAnew) {
  // A "</title>" that ends where the first read ends, and a combining mark after it that
  // turns its ">" into another character: only the whole text shows there is none.
  const std::u16string combining = u"<title>" + std::u16string(4096 - 15, u'y') +
                                   u"</title>\u0338tail</title>";
  const std::u16string combining16 = u"<title>" + std::u16string(2048 - 15, u'y') +
                                     u"</title>\u0338tail</title>";
  struct Case {
    int encoding;
    std::vector<std::string> files;
  };
  const std::string u8far = std::string(5000, 'a') + "<title>\xE8\xBF\x9C</title>";
  const Case cases[] = {
      {0, {G("<title>标题</title>body"), std::string(5000, 'a') + G("<title>远</title>"), ""}},
      {1,
       {"\xEF\xBB\xBF<title>t</title>", u8far, TestCodec().Utf16ToUtf8(combining),
        "<title>bad \xE8\xBF</title>" + std::string(5000, '\xE8')}},
      {2, {"\xFF\xFE" + Utf16Le(u"<title>标题</title>"), Utf16Le(combining16),
           Utf16Le(std::u16string(3000, u'\x4E00') + u"<title>\xD83D\xDE00</title>") + "x"}},
  };
  for (const Case& c : cases) {
    for (int source : {1, 2}) {
      std::map<bool, std::vector<std::string>> pages;
      for (bool reuse : {false, true}) {
        DiskRun run;
        run.settings.values.fileEncoding = c.encoding;
        run.settings.values.titleSource = source;
        ArticlePaths paths;
        for (std::size_t i = 0; i < c.files.size(); ++i) {
          const std::string path = run.dir.path() + "/" + std::to_string(i) + ".txt";
          ASSERT_TRUE(run.files.WriteWholeFile(path, c.files[i]));
          paths.push_back(PathOf(path));
        }
        RunContext ctx{run.settings, run.platform, run.host, nullptr, 3, reuse};
        RunGeneration(paths, ctx);
        for (std::size_t i = 0; i < c.files.size(); ++i) {
          pages[reuse].push_back(
              run.files.ReadWholeFile(run.OutputFolder() + "/" + std::to_string(i) + ".txt")
                  .value_or("<missing>"));
        }
      }
      EXPECT_EQ(pages[true], pages[false]) << "encoding " << c.encoding << " source " << source;
    }
  }
}

// A title taken from the start of a file is the whole file's title, at every length of start.
TEST(TitleReuse, ATitleFoundInTheStartOfAFileIsTheWholeFilesTitle) {
  const std::u16string combining = u"<title>a</title>\u0338b\r\nline\u0301\r\n";
  const std::vector<std::pair<int, std::string>> samples = {
      {0, "\r\n\x81\n<title>\x81</title>\x81\r\nz"},
      {0, std::string("\r\n\0<title>x</title>", 19)},
      {0, "<title>\xB0<title>\xB0</title>\r\n"},
      {1, "\xEF\xBB\xBF\r\n<title>\xE6\xA0\x87</title>\xCC\xB8\r\n"},
      {1, TestCodec().Utf16ToUtf8(combining)},
      {1, "<title>\xF0\x9F\x98\x80\xE8</title>x\r\n\xC3"},
      {1, std::string("a\r\n\0b", 5)},
      {2, "\xFF\xFE" + Utf16Le(combining) + "z"},
      {2, Utf16Le(u"\xD83D\xDE00<title>\xD83D</title>\xDE00\r\n") + Utf16Le(std::u16string(1, u'\0'))},
  };
  for (const auto& [encoding, bytes] : samples) {
    const std::string whole = DecodeArticleText(bytes, encoding, TestCodec());
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
      const TextStart start =
          DecodeTextStart(std::string_view(bytes).substr(0, n), n == bytes.size(), encoding, TestCodec());
      ASSERT_TRUE(std::string_view(whole).starts_with(start.text)) << encoding << " at " << n;
      if (start.whole) {
        EXPECT_EQ(start.text, whole) << encoding << " at " << n;
      }
      if (TitleIsWithin(start.text, 1) || start.whole) {
        EXPECT_EQ(text::TextBetween(start.text, "<title>", "</title>"),
                  text::TextBetween(whole, "<title>", "</title>"))
            << encoding << " at " << n;
      }
      if (TitleIsWithin(start.text, 2) || start.whole) {
        std::string a = start.text, b = whole;
        const FirstLineResult fa = FirstLineTitle(a, false), fb = FirstLineTitle(b, false);
        EXPECT_EQ(fa.title, fb.title) << encoding << " at " << n;
        EXPECT_EQ(fa.lines, fb.lines) << encoding << " at " << n;
      }
    }
  }
}

// The one-pass fill against the step-by-step one: placeholders inside values and across the
// text around them, lone lead bytes, stray "#"s, adjacent slots.
TEST(PageFill, OnePassGivesTheStepByStepPageAndEvents) {
  struct Case {
    const char* tpl;
    const char* current;  // current title; the other values are derived from it
  };
  const Case cases[] = {
      {"<a href=\"#上一篇链接#\">#上一篇标题#</a>#本篇标题# #随机篇标题#,#随机篇链接#|#导入的文件内容#", "plain"},
      {"#本篇标题#<#下一篇标题#>", "含#下一篇标题#的标题"},
      {"#本篇标题#<#下一篇标题#>", "ends in a lead \xB0"},
      {"#上一篇标题#本篇标题#下一篇标题#", "x"},
      {"#上一篇标题##本篇链接##下一篇标题#", "本篇标题"},
      {"# #本篇标题# #", "y"},
      {"#随机篇标题#<#随机篇标题#<#随机篇链接#<#导入的文件内容#", "z"},
      {"no placeholders at all", "w"},
      {"#本篇标题#<#导入的文件内容#>#本篇标题#", "#导入的文件内容#"},
      {"#随机篇标题#<#随机篇链接#<#随机篇标题#", "#随机篇链接#"},
  };
  for (const Case& c : cases) {
    const std::string tpl = G(c.tpl);
    const std::string title = G(c.current);
    const std::vector<std::string> picks = {title + "1", G("随机"), "p3"};
    const std::vector<std::string> links = {"l1.htm", "l2.htm", "l3.htm"};
    const std::string body = G("正文#本篇标题##随机篇标题#");
    const std::string previous = G("上一篇"), next = title + "n";
    const PageValues v{"cur.htm", "prev.htm", "next.htm", title, previous, next, picks, links, body};
    testing::ScriptedRunHost stepHost, oneHost;
    const std::string expected = FillPageStepByStep(tpl, v, &stepHost);
    EXPECT_EQ(PageTemplate(tpl).Fill(v, &oneHost), expected) << c.tpl << " / " << c.current;
    EXPECT_EQ(oneHost.events, stepHost.events) << c.tpl;
  }
  EXPECT_TRUE(PageTemplate(DefaultTemplate1()).OnePassTemplate());
  EXPECT_TRUE(PageTemplate(DefaultTemplate2()).OnePassTemplate());
}

// Random templates and values built from the pieces that make fills interact.
TEST(PageFill, OnePassMatchesStepByStepOnRandomTemplates) {
  const std::vector<std::string> pieces = {
      G("#本篇链接#"), G("#上一篇链接#"), G("#下一篇链接#"), G("#本篇标题#"), G("#上一篇标题#"),
      G("#下一篇标题#"), G("#随机篇标题#"), G("#随机篇链接#"), G("#导入的文件内容#"),
      "#", G("本篇标题"), G("篇标"), "<", "a", "\xB0", G("题#"), " ", G("中")};
  // Values mostly from the pieces without a "#" or a lone lead byte, so that the one-pass
  // fill is taken often and its conditions are tested at their edges.
  const std::vector<std::string> safe = {G("本篇标题"), G("篇标"), "<", "a", " ", G("中")};
  std::mt19937 rng(5);
  auto text = [&](int maxPieces) {
    const auto& from = maxPieces < 3 && rng() % 5 != 0 ? safe : pieces;
    std::string s;
    for (int k = std::uniform_int_distribution<int>(0, maxPieces)(rng); k > 0; --k)
      s += from[rng() % from.size()];
    return s;
  };
  for (int i = 0; i < 3000; ++i) {
    const std::string tpl = text(12);
    std::vector<std::string> picks, links;
    const std::size_t r = rng() % 4;
    for (std::size_t k = 0; k < r; ++k) {
      picks.push_back(text(2));
      links.push_back(text(2));
    }
    const std::string a = text(2), b = text(2), c = text(2), d = text(2), e = text(2), f = text(2),
                      body = text(3);
    const PageValues v{a, b, c, d, e, f, picks, links, body};
    EXPECT_EQ(PageTemplate(tpl).Fill(v, nullptr), FillPageStepByStep(tpl, v, nullptr))
        << "case " << i;
  }
}

}  // namespace
}  // namespace lanzhou::generation
