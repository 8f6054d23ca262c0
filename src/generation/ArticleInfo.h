// One article as the run sees it, and the path it came from.
#pragma once

#include <string>
#include <vector>

namespace lanzhou::generation {

struct ArticleInfo {
  std::string title;     // after title rewriting, when that is on
  std::string pageName;  // the page's file name in the output folder, and its relative link
  std::string body;      // the whole decoded text
};

// An article's path in both spellings: `text` is the system's code page 936 text (file names
// and titles come from it), `native` the OS's bytes (the file is read through it). They differ
// only where code page 936 cannot spell a name.
struct ArticlePath {
  std::string text;
  std::string native;
};

using ArticlePaths = std::vector<ArticlePath>;

}  // namespace lanzhou::generation
