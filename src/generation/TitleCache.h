// The titles and page names of a run's articles, loaded once and reused within the run.
//
// A run shows every article's title and page name up to eight times (its own page, two
// neighbours, random picks), and a load reads and decodes the file each time. The cache keeps
// what a load gave together with the options it read, and gives it again while those options
// still read the same: `fileEncoding` and `titleSource`, which the title's source reads before
// it may process events, and the page-name and rewriting options, which are read after. An
// article's entry is renewed whenever its file is read whole again (as the current article), so
// a file replaced during the run is seen at its own page at the latest; a file edited in place
// may keep the title it had at its first load until then. Bodies are never kept.
//
// A reuse processes the same events as the load it replaces, so a window sees no difference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "generation/ArticleInfo.h"
#include "generation/ArticleLoader.h"
#include "generation/GenerationSettings.h"

namespace lanzhou::generation {

struct TitleAndLink {
  std::string title;
  std::string link;  // the page name
};

class TitleCache {
 public:
  explicit TitleCache(std::size_t articles) : entries_(articles) {}

  // The title and page name that LoadArticle on article `i` would give now.
  TitleAndLink Get(std::size_t i, const ArticlePath& path, const GenerationSettings& settings,
                   LoaderContext& ctx);

  // A whole load of article `i`, kept for later: LoadArticle with its notes, between two reads
  // of the options.
  ArticleInfo LoadWhole(std::size_t i, const ArticlePath& path, const GenerationSettings& settings,
                        LoaderContext& ctx);

 private:
  // The options a title's source reads, and those read after it.
  struct SourceOptions {
    int encoding = 0;
    int titleSource = 0;
    bool operator==(const SourceOptions&) const = default;
  };
  struct NameOptions {
    bool useExtension = false;
    std::string extension;
    bool replaceTitle = false;
    bool useRegex = false;
    std::string matchPattern;
    std::string replacementText;
    bool operator==(const NameOptions&) const = default;
  };
  struct Entry {
    std::uint32_t sourceVersion = 0;  // 0: nothing loaded
    std::uint32_t nameVersion = 0;    // 0: name and rewriting to be done
    std::uint32_t lineEvents = 0;
    bool rewritten = false;           // `title` holds a rewritten title; else it is `sourceTitle`
    std::string sourceTitle;
    std::string title;
    std::string pageName;
  };

  // Version numbers of the options as they read now: a number changes exactly when a read
  // differs from the read before.
  std::uint32_t SourceVersion(const GenerationSettings& s);
  std::uint32_t NameVersion(const GenerationSettings& s);

  std::vector<Entry> entries_;
  SourceOptions source_;
  NameOptions name_;
  std::uint32_t sourceVersion_ = 0;
  std::uint32_t nameVersion_ = 0;
};

}  // namespace lanzhou::generation
