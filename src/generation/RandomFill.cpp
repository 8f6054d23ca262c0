#include "generation/RandomFill.h"

#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::generation {
namespace {

// A lower bound for the first remaining occurrence of one placeholder: searching from it, not
// from the start, keeps a page with many slots linear instead of quadratic.
struct Cursor {
  std::string_view placeholder;
  std::size_t from = 0;
};

// Replaces the first occurrence at or after `c.from`; then moves both cursors past what
// the replacement shifted. An inserted text holding a "#" may hold a placeholder of either
// kind, so the other cursor falls back to where it went in.
void ReplaceNext(std::string& page, Cursor& c, Cursor& other, const std::string& with) {
  const std::size_t at = text::ReplaceFirst(page, c.placeholder, with, c.from);
  if (at == text::npos) {
    c.from = page.size();
    return;
  }
  c.from = at;  // the next one may sit inside the inserted text
  const std::size_t oldEnd = at + c.placeholder.size();
  const std::size_t newEnd = at + with.size();
  if (other.from > at) {
    // An occurrence of the other kind starting inside the replaced stretch is gone.
    other.from = other.from >= oldEnd ? other.from - oldEnd + newEnd : newEnd;
    if (with.find('#') != std::string::npos) other.from = at;
  }
}

}  // namespace

void FillRandomPlaceholders(std::string& page, const std::vector<std::string>& titles,
                            const std::vector<std::string>& links, RunHost* host) {
  Cursor title{text::kPhRandomTitle};
  Cursor link{text::kPhRandomLink};
  for (std::size_t k = 0; k < titles.size(); ++k) {
    ReplaceNext(page, title, link, titles[k]);
    ReplaceNext(page, link, title, links[k]);
    if (host != nullptr) host->ProcessEvents();
  }
}

}  // namespace lanzhou::generation
