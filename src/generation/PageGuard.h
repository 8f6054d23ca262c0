// Decides, page by page, whether a run may write a page file: never over one of the run's own
// articles (a user may import files from inside the output folder), and never silently over a
// page it wrote earlier (two articles whose page names meet, or an article named like an index
// page).
#pragma once

#include <optional>
#include <set>
#include <string>

#include "generation/ArticleInfo.h"
#include "platform/FileSystem.h"

namespace lanzhou::generation {

class PageGuard {
 public:
  PageGuard(platform::FileSystem& files, const ArticlePaths& articles);

  enum class Verdict {
    Write,      // a new page, or one left from an earlier run
    Replaces,   // a page this run wrote before: write it, but say so
    IsArticle,  // an article of this run: do not write
  };
  // Called once before each page is written (article pages and index pages alike); every
  // page but an article's counts as written from then on.
  Verdict Check(const std::string& pagePath);
  // The output folder was made by this run: no article can lie in it, so a page path needs no
  // look on the disk (a first run then costs no lookup per page).
  void FolderIsNew() { folderIsNew_ = true; }

 private:
  platform::FileSystem& files_;
  const ArticlePaths& articles_;
  std::set<std::string> written_;
  bool folderIsNew_ = false;
  // The articles' identities, found the first time a page path already holds a file: a run
  // into a fresh folder never needs them.
  std::optional<std::set<platform::FileId>> articleIds_;
  std::set<std::string> articleSpellings_;  // for a file system that knows no identities
};

}  // namespace lanzhou::generation
