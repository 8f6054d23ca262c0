#include <gtest/gtest.h>

#include <random>

#include <algorithm>
#include <numeric>
#include <set>

#include "GenerationTestSupport.h"
#include "generation/RandomFill.h"
#include "generation/UniqueRandomPicker.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::generation {
namespace {

using testing::FakeRun;
using testing::G;

TEST(UniqueRandomPicker, EveryRoundIsAPermutationAndRefillsOnlyWhenEmpty) {
  UniqueRandomPicker picker(99);
  for (int round = 0; round < 3; ++round) {
    std::vector<int> got;
    for (int k = 0; k < 10; ++k) got.push_back(picker.Next(1, 10));
    std::sort(got.begin(), got.end());
    std::vector<int> all(10);
    std::iota(all.begin(), all.end(), 1);
    EXPECT_EQ(got, all) << "round " << round;
    EXPECT_EQ(picker.PoolSize(), 0u);
  }
  picker.Next(5, 5);
  EXPECT_EQ(picker.Next(5, 5), 5);
  picker.Next(1, 3);
  picker.Reset();
  EXPECT_EQ(picker.PoolSize(), 0u);
}

TEST(UniqueRandomPicker, FirstDrawsAreUniform) {
  // The first draw of a fresh round, over 6 numbers, 60,000 times: chi-square with 5 degrees
  // of freedom. 35 lies far past the 0.0001% tail (about 32), so a fair picker cannot fail it
  // and a biased one (say, one number at twice its share) fails by thousands.
  constexpr int kDraws = 60000;
  int counts[6] = {};
  UniqueRandomPicker picker(2024);
  for (int i = 0; i < kDraws; ++i) {
    picker.Reset();
    ++counts[picker.Next(1, 6) - 1];
  }
  double chi = 0;
  for (int c : counts) chi += (c - kDraws / 6.0) * (c - kDraws / 6.0) / (kDraws / 6.0);
  EXPECT_LT(chi, 35.0);
  // And a later draw within a round, over what is left.
  int later[6] = {};
  for (int i = 0; i < kDraws; ++i) {
    picker.Reset();
    picker.Next(1, 6);
    picker.Next(1, 6);
    ++later[picker.Next(1, 6) - 1];
  }
  chi = 0;
  for (int c : later) chi += (c - kDraws / 6.0) * (c - kDraws / 6.0) / (kDraws / 6.0);
  EXPECT_LT(chi, 35.0);
}

TEST(RandomFill, TheKthTitleAndLinkSlotsGetTheKthPick) {
  std::string page = G("[#随机篇链接#|#随机篇标题#][#随机篇标题#][#随机篇链接#]");
  FillRandomPlaceholders(page, {"T1", "T2"}, {"L1", "L2"}, nullptr);
  EXPECT_EQ(page, "[L1|T1][T2][L2]");
}

TEST(RandomFill, APickHoldingAPlaceholderIsFilledByALaterStep) {
  std::string page = G("#随机篇标题# #随机篇链接#");
  FillRandomPlaceholders(page, {G("x#随机篇链接#"), "T2"}, {"L1", "L2"}, nullptr);
  // Step 1 puts a link slot inside the first title, and fills it at once; step 2 finds only
  // the template's own link slot left.
  EXPECT_EQ(page, "xL1 L2");
}

// The one-pass fill and the pair-by-pair fill must agree wherever the first is taken; these
// pages push on the cases where it must step aside.
TEST(RandomFill, OnePassAndPairByPairAgree) {
  const struct {
    const char* page;
    std::vector<std::string> titles, links;
    const char* expected;
  } cases[] = {
      {"#随机篇标题##随机篇链接#", {"T"}, {"L"}, "TL"},
      {"#随机篇标题#随机篇链接#", {"T"}, {"L"}, "T随机篇链接#"},       // the slots share a "#"
      {"#随机篇#随机篇标题##随机篇链接#", {"标题"}, {"L"}, "#随机篇标题L"},  // a pick completes a slot
      {"#随机篇链接#", {"T1", "T2"}, {"L1", "L2"}, "L1"},
      {"#随机篇标题#|#随机篇标题#", {"C#", "x"}, {"a", "b"}, "C#|x"},
  };
  for (const auto& c : cases) {
    std::string page = G(c.page);
    std::vector<std::string> titles, links;
    for (const auto& t : c.titles) titles.push_back(G(t));
    for (const auto& l : c.links) links.push_back(G(l));
    FillRandomPlaceholders(page, titles, links, nullptr);
    EXPECT_EQ(testing::U(page), c.expected) << c.page;
  }
}

// The fill must give the bytes of the plain definition (first occurrence, pair after pair)
// whatever the titles hold: pieces of placeholders that join across an insertion, "#" in
// titles, lone lead bytes that shift the characters after them. Pages and picks are built from
// such pieces at random; any difference is a bug in the fast paths.
TEST(RandomFill, AgreesWithTheStepByStepDefinitionOnPiecesOfPlaceholders) {
  const std::vector<std::string> pieces = {
      G("#随机篇标题#"), G("#随机篇链接#"), "#", G("#随机"), G("篇标题#"), G("篇链接#"), G("随机篇"),
      G("标题#"), "\xB0", "x", "\xB0#", G("题"), "", "##"};
  std::mt19937 random(12345);
  auto randomText = [&](int maxPieces) {
    std::string t;
    for (int n = static_cast<int>(random() % (maxPieces + 1)); n > 0; --n) t += pieces[random() % pieces.size()];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string page = randomText(8);
    std::vector<std::string> titles, links;
    for (int k = static_cast<int>(random() % 4); k > 0; --k) {
      titles.push_back(randomText(3));
      links.push_back(randomText(2));
    }
    std::string expected = page;
    for (std::size_t k = 0; k < titles.size(); ++k) {
      text::ReplaceFirst(expected, text::kPhRandomTitle, titles[k]);
      text::ReplaceFirst(expected, text::kPhRandomLink, links[k]);
    }
    std::string got = page;
    FillRandomPlaceholders(got, titles, links, nullptr);
    ASSERT_EQ(testing::U(got), testing::U(expected)) << testing::U(page) << " round " << round;
  }
}

// Titles that hold "#" used to make a large page quadratic: each pair shifted the whole rest.
// Both layouts: slots of the two kinds side by side, and all link slots before all title slots.
// Four times the slots must cost about four times as much, not sixteen; a ratio, unlike a time,
// holds on a slow or busy machine and under the sanitizers.
// How the fill grows with the page (linearly, also when titles hold "#") is measured by
// BM_RandomFillHashTitles in bench/, not by a timed test; here only its result on a large page.
TEST(RandomFill, TitlesHoldingHashesFillALargePage) {
  for (const bool apart : {false, true}) {
    std::string links, page;
    std::vector<std::string> titles, targets;
    for (int k = 0; k < 20000; ++k) {
      if (apart) {
        links += G("<a href=\"#随机篇链接#\">");
        page += G("<b>#随机篇标题#</b>");
      } else {
        page += G("<a href=\"#随机篇链接#\">#随机篇标题#</a>");
      }
      titles.push_back("C# " + std::to_string(k));
      targets.push_back("l" + std::to_string(k));
    }
    page = links + page;
    FillRandomPlaceholders(page, titles, targets, nullptr);
    EXPECT_TRUE(page.starts_with(apart ? "<a href=\"l0\">" : "<a href=\"l0\">C# 0</a>"));
    EXPECT_TRUE(page.ends_with(apart ? "<b>C# 19999</b>" : "\">C# 19999</a>"));
    EXPECT_EQ(page.find(G("#随机篇")), std::string::npos);
  }
}

TEST(RandomFill, ManySlotsFillInOnePass) {
  std::string page;
  std::vector<std::string> titles, links;
  for (int k = 0; k < 20000; ++k) {
    page += G("<a href=\"#随机篇链接#\">#随机篇标题#</a>");
    titles.push_back("t" + std::to_string(k));
    links.push_back("l" + std::to_string(k));
  }
  testing::ScriptedRunHost host;
  FillRandomPlaceholders(page, titles, links, &host);
  EXPECT_TRUE(page.starts_with("<a href=\"l0\">t0</a><a href=\"l1\">t1</a>"));
  EXPECT_TRUE(page.ends_with("<a href=\"l19999\">t19999</a>"));
  EXPECT_EQ(host.events, 20000);
}

TEST(RandomLinks, SlotCountIsTheLargerOfTheTwoKinds) {
  FakeRun run;
  run.SetTemplate("#随机篇链接#,#随机篇链接#,#随机篇链接#;"
                  "#随机篇标题#,#随机篇标题#,#随机篇标题#,#随机篇标题#,#随机篇标题#");
  for (int i = 1; i <= 5; ++i) run.AddArticle("p" + std::to_string(i) + ".txt", "");
  run.settings.values.titleSource = static_cast<int>(TitleSource::FileName);
  run.Run();
  // With 5 articles and 5 slots, the first page's five titles are all different, and its three
  // links name the first three of those picks.
  const std::string page = run.Page("p1.txt");
  const auto semi = page.find(';');
  std::vector<std::string> links, titles;
  std::stringstream l(page.substr(0, semi)), t(page.substr(semi + 1));
  for (std::string x; std::getline(l, x, ',');) links.push_back(x);
  for (std::string x; std::getline(t, x, ',');) titles.push_back(x);
  ASSERT_EQ(links.size(), 3u);
  ASSERT_EQ(titles.size(), 5u);
  EXPECT_EQ(std::set<std::string>(titles.begin(), titles.end()).size(), 5u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(links[k], titles[k] + ".txt");
}

TEST(RandomLinks, NoSlotsMeansNoExtraLoads) {
  for (const bool reuse : {false, true}) {
    FakeRun run;
    run.SetTemplate("#本篇标题#");
    run.reuseTitles = reuse;
    int reads = 0;
    run.files.failRead = [&](const std::string&) {
      ++reads;
      return false;
    };
    for (int i = 1; i <= 3; ++i) run.AddArticle(std::to_string(i) + ".txt", "");
    run.Run();
    // Each article once, plus its neighbours; reused, a previous article is not read again.
    EXPECT_EQ(reads, reuse ? 3 + 2 : 3 + 4) << reuse;
  }
}

TEST(RandomLinks, ASeedMakesAWholeRunReproducible) {
  auto site = [](std::uint64_t seed) {
    FakeRun run;
    run.settings.values.makeIndex = true;
    for (int i = 1; i <= 12; ++i) run.AddArticle(std::to_string(i) + ".txt", "");
    run.Run(nullptr, seed);
    return run.files.files;
  };
  EXPECT_EQ(site(5), site(5));
  EXPECT_NE(site(5), site(6));
}

}  // namespace
}  // namespace lanzhou::generation
