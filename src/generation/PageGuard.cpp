#include "generation/PageGuard.h"

namespace lanzhou::generation {

PageGuard::PageGuard(platform::FileSystem& files, const ArticlePaths& articles)
    : files_(files), articles_(articles) {}

PageGuard::Verdict PageGuard::Check(const std::string& pagePath) {
  if (folderIsNew_) return written_.insert(pagePath).second ? Verdict::Write : Verdict::Replaces;
  if (const auto id = files_.Identify(pagePath)) {
    if (!articleIds_) {
      articleIds_.emplace();
      for (const auto& a : articles_) {
        if (const auto aid = files_.Identify(a.native)) articleIds_->insert(*aid);
      }
    }
    if (articleIds_->count(*id) != 0) return Verdict::IsArticle;
  } else if (!files_.KnowsIdentities() && files_.Exists(pagePath)) {
    // A second look only where the first could not tell "nothing there" from "no identities".
    if (articleSpellings_.empty()) {
      for (const auto& a : articles_) articleSpellings_.insert(a.native);
    }
    if (articleSpellings_.count(pagePath) != 0) return Verdict::IsArticle;
  }
  return written_.insert(pagePath).second ? Verdict::Write : Verdict::Replaces;
}

}  // namespace lanzhou::generation
