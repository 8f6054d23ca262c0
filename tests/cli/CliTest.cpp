#include "cli/CliApp.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FileBytes.h"
#include "GbkText.h"
#include "TempDir.h"
#include "cli/ConsoleRunHost.h"
#include "platform/Codec.h"

namespace lanzhou::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out, err;
};

Outcome Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "lanzhou-gen");
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int status = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {status, out.str(), err.str()};
}

using testing::ReadBytes;
using testing::WriteBytes;

const platform::Codec& Codec() { return testing::TestCodec(); }

const std::string kOutName = "模板生成目录";  // UTF-8, as the OS spells it

TEST(Cli, BadUsageIsOneLineAndStatusTwo) {
  testing::TempDir dir;
  const std::string a = dir.path() + "/a.txt";
  WriteBytes(a, "x");
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--dir", dir.path(), a},
      {"--template", "6", a},
      {"--encoding", "latin1", a},
      {"--no-such-option", a},
      {"--open", "--copy-path", a},
      {"--template-file", dir.path() + "/missing.htm", a},
      {"--dir", dir.path() + "/nowhere"},
      // a typo, or a folder, where an article should be: nothing may be created beside it
      {dir.path() + "/nowhere/typo/a.txt"},
      {a, dir.path() + "/typo.txt"},
      {dir.path()},
      {"--seed", "-1", a},
      {"--seed", "18446744073709551616", a},
  };
  for (const auto& args : cases) {
    const Outcome o = Cli(args);
    EXPECT_EQ(o.status, 2) << o.err;
    EXPECT_EQ(std::count(o.err.begin(), o.err.end(), '\n'), 1) << o.err;
    EXPECT_TRUE(o.err.starts_with("lanzhou-gen: ")) << o.err;
  }
  EXPECT_FALSE(fs::exists(fs::path(dir.path()) / kOutName));
  EXPECT_FALSE(fs::exists(fs::path(dir.path()) / "nowhere"));
  EXPECT_NE(Cli({dir.path() + "/typo.txt"}).err.find(dir.path() + "/typo.txt"), std::string::npos);
  EXPECT_EQ(Cli({"-q", "--seed", "18446744073709551615", a}).status, 0);
  EXPECT_EQ(Cli({"--help"}).status, 0);
}

TEST(Cli, FilesRunInTheOrderGivenWithTheOptionsApplied) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "a.txt", Codec().Utf8ToGbk("标题甲\r\n【正文甲】"));
  WriteBytes(d / "b.txt", Codec().Utf8ToGbk("标题乙\r\n【正文乙】"));
  WriteBytes(d / "t.htm", Codec().Utf8ToGbk("#本篇标题#<#下一篇链接#>#导入的文件内容#"));
  const Outcome o = Cli({"--quiet", "--title-source", "first-line", "--left", "【", "--right", "】",
                         "--template", "3", "--template-file", (d / "t.htm").string(), "--ext", "html",
                         (d / "b.txt").string(), (d / "a.txt").string()});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Codec().GbkToUtf8(ReadBytes(d / kOutName / "b.html")), "标题乙<a.html>正文乙");
  EXPECT_EQ(Codec().GbkToUtf8(ReadBytes(d / kOutName / "a.html")), "标题甲<#>正文甲");
  EXPECT_TRUE(o.out.starts_with("耗时 ")) << o.out;
  EXPECT_NE(o.out.find("已保存在这个目录：" + (d / kOutName).string() + "/"), std::string::npos);
}

TEST(Cli, AFolderIsListedByTheFilterInCaseFoldedOrder) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  for (const char* name : {"b.txt", "A.TXT", "c.txt", "README", "note.md"}) WriteBytes(d / name, "");
  fs::create_directory(d / "d.txt");  // a folder that matches is still no article
  testing::TempDir other;
  const fs::path empty = fs::path(other.path()) / "empty.htm";
  WriteBytes(empty, "");
  ASSERT_EQ(Cli({"-q", "--dir", d.string(), "--title-source", "name", "--template", "5",
                 "--template-file", empty.string(), "--index"}).status, 0);
  const std::string index = ReadBytes(d / kOutName / "index.htm");
  const auto posA = index.find("A.TXT"), posB = index.find("b.txt"), posC = index.find("c.txt");
  EXPECT_TRUE(posA < posB && posB < posC) << index;
  EXPECT_EQ(index.find("README"), std::string::npos);
  EXPECT_EQ(index.find("d.txt"), std::string::npos);

  ASSERT_EQ(Cli({"-q", "--dir", d.string(), "--filter", "*.*"}).status, 0);
  EXPECT_TRUE(fs::exists(d / kOutName / "README"));  // "*.*" takes names without a dot
  EXPECT_TRUE(fs::exists(d / kOutName / "note.md"));
}

TEST(Cli, PagesThatCannotBeWrittenGiveStatusOne) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "a.txt", "x");
  WriteBytes(d / kOutName, "a file where the output folder should be");
  const Outcome o = Cli({"-q", (d / "a.txt").string()});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.out.find("有 2 个文件或目录未能写入"), std::string::npos) << o.out;  // folder, page
  EXPECT_NE(o.err.find("could not be written"), std::string::npos);
  EXPECT_NE(o.err.find(": " + (d / kOutName / "a.txt").string() + ": Not a directory\n"), std::string::npos) << o.err;
}

// Scripts see every failure: unreadable articles and pages that replace each other give 1 and
// are named on stderr, and the terminal gets the report without the window's question.
TEST(Cli, EveryFailureIsNamedAndGivesStatusOne) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "a.txt", "x");
  ASSERT_EQ(::mkfifo((d / "b.txt").c_str(), 0600), 0);
  WriteBytes(d / "b.html", "y");
  ::alarm(20);
  const Outcome o = Cli({"-q", "--dir", d.string(), "--filter", "*.*", "--ext", "htm"});
  ::alarm(0);
  EXPECT_EQ(o.status, 1) << o.err;
  EXPECT_NE(o.err.find(": " + (d / "b.txt").string() + ": not a regular file\n"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find(": " + (d / kOutName / "b.htm").string() + ": 与本次生成的另一页面同名，已覆盖\n"),
            std::string::npos) << o.err;
  EXPECT_NE(o.out.find("有 1 个页面与其他页面同名，已被覆盖"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("有 1 篇文章未能读取"), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("点击"), std::string::npos) << o.out;
}

// Ctrl-C stops the run after the article in hand: status 130, and the report says how far.
TEST(Cli, AnInterruptedRunExitsWith130AndSaysWhereItStopped) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "a.txt", "x");
  WriteBytes(d / "b.txt", "y");
  ConsoleRunHost::InstallInterruptHandler();
  std::raise(SIGINT);  // pressed before the first article is done
  const Outcome o = Cli({"-q", (d / "a.txt").string(), (d / "b.txt").string()});
  ConsoleRunHost::InstallInterruptHandler();
  std::signal(SIGINT, SIG_DFL);
  EXPECT_EQ(o.status, 130);
  EXPECT_NE(o.out.find(" 已停止，处理了 1/2 个文件，已保存在这个目录："), std::string::npos) << o.out;
  EXPECT_FALSE(fs::exists(d / kOutName / "b.txt"));
}

TEST(Cli, AnArticleNameCodePage936CannotSpellStillLoadsAndLinksToItsPage) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "1.txt", "<title>one</title>");
  WriteBytes(d / "2🙂.txt", "<title>two</title>body");
  WriteBytes(d / "t.htm", Codec().Utf8ToGbk("#本篇链接#|#导入的文件内容#|#上一篇链接#|#下一篇链接#"));
  ASSERT_EQ(Cli({"-q", "--dir", d.string(), "--template-file", (d / "t.htm").string()}).status, 0);
  // The page is written under the name its links use; its article is read, not empty.
  EXPECT_EQ(ReadBytes(d / kOutName / "2_.txt"), "2_.txt|<title>two</title>body|1.txt|#");
  EXPECT_EQ(ReadBytes(d / kOutName / "1.txt"), "1.txt|<title>one</title>|#|2_.txt");
}

TEST(Cli, TitlesAreRewrittenInBothModesAndARejectedPatternIsReported) {
  testing::TempDir dir;
  const fs::path d = dir.path();
  WriteBytes(d / "a.txt", Codec().Utf8ToGbk("<title>甲-乙_站点</title>"));
  WriteBytes(d / "t.htm", Codec().Utf8ToGbk("#本篇标题#"));
  const std::string a = (d / "a.txt").string(), t = (d / "t.htm").string();
  const struct {
    std::vector<std::string> args;
    int status;
    std::string title;
  } cases[] = {
      {{"--replace-title"}, 0, "甲-乙"},
      {{"--replace-title", "--match", "^(.)(.*)$", "--replace", "[$2$1]"}, 0, "[-乙_站点甲]"},
      {{"--replace-title", "--plain", "--match", "站点|-", "--replace", "网"}, 0, "甲乙_网"},
      {{"--replace-title", "--match", "(unbalanced"}, 1, "甲-乙_站点"},
      {{"--match", "(unbalanced"}, 0, "甲-乙_站点"},  // not rewriting: nothing to reject
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"-q", "--template-file", t, a});
    const Outcome o = Cli(args);
    EXPECT_EQ(o.status, c.status) << o.err;
    EXPECT_EQ(Codec().GbkToUtf8(ReadBytes(d / kOutName / "a.txt")), c.title);
    const bool warned = o.err.find("(unbalanced") != std::string::npos;
    EXPECT_EQ(warned, c.status == 1) << o.err;
    EXPECT_EQ(o.out.find("正则表达式无效") != std::string::npos, c.status == 1) << o.out;
  }
}

TEST(Cli, SettingsFilesRoundTripAndOptionsOverrideThem) {
  testing::TempDir dir;
  const fs::path ini = fs::path(dir.path()) / "程序配置.ini";
  ASSERT_EQ(Cli({"--save-settings", ini.string(), "--template", "2", "--index", "--page-size", "20",
                 "--match", "(.*)_站"}).status, 0);
  const Outcome shown = Cli({"--settings", ini.string(), "--show-settings", "--no-index"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  const std::string lines = shown.out;
  EXPECT_TRUE(lines.starts_with("模板1=<html>┊*┊<head>┊*┊")) << lines;
  for (const char* line : {"\n模板序号=1\n", "\n分页=20\n", "\n生成文章系统首页：=假\n",
                           "\n匹配式=(.*)_站\n", "\n使用正则=真\n", "\n替换式=$1\n"}) {
    EXPECT_NE(lines.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 20);
  // The file on disk is GBK, starts with its section, and was written the way the window saves.
  const std::string bytes = ReadBytes(ini);
  EXPECT_TRUE(bytes.starts_with(Codec().Utf8ToGbk("[基本配置]\r\n模板1=<html>┊*┊")));
  EXPECT_NE(bytes.find(Codec().Utf8ToGbk("\r\n生成文章系统首页：=真\r\n")), std::string::npos);

  EXPECT_EQ(Cli({"--settings", (fs::path(dir.path()) / "none.ini").string(), "--show-settings"}).status, 2);
  const Outcome unwritable = Cli({"--save-settings", (ini / "below-a-file.ini").string()});
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_TRUE(unwritable.err.ends_with(": Not a directory\n")) << unwritable.err;
}

TEST(Cli, AHandEditedTemplateNumberOutOfRangeFillsTheFirstTemplate) {
  testing::TempDir dir;
  const std::string ini = dir.path() + "/s.ini";
  WriteBytes(ini, Codec().Utf8ToGbk("[基本配置]\r\n模板序号=9\r\n"));
  const std::string tpl = dir.path() + "/t.htm";
  WriteBytes(tpl, Codec().Utf8ToGbk("<p>#本篇标题#</p>"));
  const std::string a = dir.path() + "/a.txt";
  WriteBytes(a, "x");
  const Outcome o = Cli({"--settings", ini, "--template-file", tpl, "--title-source", "name", "-q", a});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(ReadBytes(fs::path(dir.path()) / kOutName / "a.txt"), "<p>a</p>");
}

// A new user's first look: the demo's runs (as the Makefile makes them) give pages that are all
// valid code page 936, with no article read in the wrong encoding.
TEST(Cli, TheDemoSitesAreCleanCodePage936) {
  testing::TempDir dir;
  const fs::path examples = fs::path(LANZHOU_SOURCE_DIR) / "examples";
  const fs::path d = dir.path();
  fs::copy(examples / "articles", d / "articles");
  fs::copy(examples / "articles-utf8", d / "articles-utf8");
  fs::remove_all(d / "articles" / kOutName);
  fs::remove_all(d / "articles-utf8" / kOutName);
  const std::vector<std::vector<std::string>> runs = {
      {"--dir", (d / "articles").string(), "--index", "--page-size", "5"},
      {"--dir", (d / "articles-utf8").string(), "--encoding", "utf-8"}};
  int pages = 0;
  for (auto args : runs) {
    args.insert(args.end(), {"--filter", "*.*", "--template", "1", "--ext", "htm", "-q"});
    ASSERT_EQ(Cli(args).status, 0);
    for (const auto& page : fs::directory_iterator(fs::path(args[1]) / kOutName)) {
      const std::string bytes = ReadBytes(page.path());
      EXPECT_EQ(Codec().Utf16ToGbk(Codec().GbkToUtf16(bytes)), bytes) << page.path();
      EXPECT_EQ(bytes.find("\xEF\xBF\xBD"), std::string::npos) << page.path();
      ++pages;
    }
  }
  EXPECT_EQ(pages, 15);
}

}  // namespace
}  // namespace lanzhou::cli
