#include "generation/RandomFill.h"

#include <algorithm>

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

// Start positions of the non-overlapping occurrences, left to right.
std::vector<std::size_t> Occurrences(std::string_view page, std::string_view placeholder) {
  std::vector<std::size_t> at;
  for (std::size_t p = text::Find(page, placeholder); p != text::npos;
       p = text::Find(page, placeholder, p + placeholder.size())) {
    at.push_back(p);
  }
  return at;
}

bool Overlap(const std::vector<std::size_t>& a, const std::vector<std::size_t>& b,
             std::size_t length) {
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    if (a[i] + length <= b[j]) {
      ++i;
    } else if (b[j] + length <= a[i]) {
      ++j;
    } else {
      return true;
    }
  }
  return false;
}

// The usual case in one pass: when no pick holds a "#" and no slot of one kind overlaps one of
// the other, filling pair by pair comes down to the k-th slot of each kind taking the k-th
// pick. Returns false (and leaves the page alone) when that cannot be shown to hold.
bool FillInOnePass(std::string& page, const std::vector<std::string>& titles,
                   const std::vector<std::string>& links) {
  for (const auto* list : {&titles, &links}) {
    for (const auto& t : *list) {
      if (t.find('#') != std::string::npos) return false;
    }
  }
  const std::size_t length = text::kPhRandomTitle.size();  // both placeholders are this long
  const auto titleAt = Occurrences(page, text::kPhRandomTitle);
  const auto linkAt = Occurrences(page, text::kPhRandomLink);
  if (Overlap(titleAt, linkAt, length)) return false;
  std::string out;
  out.reserve(page.size() + 256);
  std::size_t done = 0, t = 0, l = 0;
  const std::size_t picks = titles.size();
  while (true) {
    const bool nextTitle = t < std::min(picks, titleAt.size());
    const bool nextLink = l < std::min(picks, linkAt.size());
    if (!nextTitle && !nextLink) break;
    const bool takeTitle = nextTitle && (!nextLink || titleAt[t] < linkAt[l]);
    const std::size_t at = takeTitle ? titleAt[t] : linkAt[l];
    out.append(page, done, at - done);
    out.append(takeTitle ? titles[t++] : links[l++]);
    done = at + length;
  }
  out.append(page, done);
  // A slot could still arise where a pick meets the text around it; if one did, the pair by
  // pair order decides, so leave it to that.
  const std::size_t left = Occurrences(out, text::kPhRandomTitle).size() +
                           Occurrences(out, text::kPhRandomLink).size();
  if (left != titleAt.size() - t + linkAt.size() - l) return false;
  page = std::move(out);
  return true;
}

}  // namespace

void FillRandomPlaceholders(std::string& page, const std::vector<std::string>& titles,
                            const std::vector<std::string>& links, RunHost* host) {
  if (FillInOnePass(page, titles, links)) {
    // The same pauses for the window as the pair-by-pair fill makes.
    for (std::size_t k = 0; k < titles.size() && host != nullptr; ++k) host->ProcessEvents();
    return;
  }
  Cursor title{text::kPhRandomTitle};
  Cursor link{text::kPhRandomLink};
  for (std::size_t k = 0; k < titles.size(); ++k) {
    ReplaceNext(page, title, link, titles[k]);
    ReplaceNext(page, link, title, links[k]);
    if (host != nullptr) host->ProcessEvents();
  }
}

}  // namespace lanzhou::generation
