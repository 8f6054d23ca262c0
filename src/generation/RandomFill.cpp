#include "generation/RandomFill.h"

#include <algorithm>
#include <deque>

#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::generation {
namespace {

// The page while it is being filled pair by pair, with two gaps: each kind of placeholder is
// filled near its own gap, so a replacement costs the bytes it changes plus the distance its
// gap travels, never the whole page behind it, even when the two kinds sit far apart. Text
// before the first gap is kept in order, between the gaps in a deque, after the second one
// reversed.
class GapText {
 public:
  explicit GapText(std::string_view text) : right_(text.rbegin(), text.rend()) {}
  std::size_t size() const { return left_.size() + mid_.size() + right_.size(); }
  unsigned char at(std::size_t x) const {
    char c;
    if (x < left_.size()) {
      c = left_[x];
    } else if (x - left_.size() < mid_.size()) {
      c = mid_[x - left_.size()];
    } else {
      c = right_[right_.size() - 1 - (x - left_.size() - mid_.size())];
    }
    return static_cast<unsigned char>(c);
  }
  // The bytes of one character, as the whole-text search counts them.
  std::size_t CharLength(std::size_t x) const { return at(x) >= 0x80 && x + 1 < size() ? 2 : 1; }
  bool MatchesAt(std::size_t x, std::string_view needle) const {
    if (x + needle.size() > size()) return false;
    for (std::size_t i = 0; i < needle.size(); ++i) {
      if (at(x + i) != static_cast<unsigned char>(needle[i])) return false;
    }
    return true;
  }
  void Replace(std::size_t x, std::size_t length, std::string_view with) {
    const std::size_t first = left_.size();
    const std::size_t second = first + mid_.size();
    const bool useFirst = x <= first || (x < second && x - first < second - x);
    if (useFirst) {
      MoveFirstGap(x);
      if (x + length > left_.size() + mid_.size()) MoveSecondGap(x + length);
      mid_.erase(mid_.begin(), mid_.begin() + static_cast<std::ptrdiff_t>(length));
      mid_.insert(mid_.begin(), with.begin(), with.end());
    } else {
      MoveSecondGap(x);
      right_.resize(right_.size() - length);
      right_.append(with.rbegin(), with.rend());
    }
  }
  // The last character boundary at or before x. A byte below 0x80 always ends a character, so
  // the search back stops at the first one and parses forward from just after it.
  std::size_t BoundaryAtOrBefore(std::size_t x) const {
    std::size_t start = x;
    while (start > 0 && at(start - 1) >= 0x80) --start;
    std::size_t b = start;
    while (b < x && b + CharLength(b) <= x) b += CharLength(b);
    return b;
  }
  std::string Take() {
    left_.append(mid_.begin(), mid_.end());
    left_.append(right_.rbegin(), right_.rend());
    return std::move(left_);
  }

 private:
  void MoveFirstGap(std::size_t x) {
    if (x < left_.size()) {
      mid_.insert(mid_.begin(), left_.begin() + static_cast<std::ptrdiff_t>(x), left_.end());
      left_.resize(x);
    } else if (x > left_.size()) {
      const auto n = static_cast<std::ptrdiff_t>(x - left_.size());
      if (static_cast<std::size_t>(n) > mid_.size()) MoveSecondGap(x);
      left_.append(mid_.begin(), mid_.begin() + n);
      mid_.erase(mid_.begin(), mid_.begin() + n);
    }
  }
  void MoveSecondGap(std::size_t y) {
    const std::size_t second = left_.size() + mid_.size();
    if (y > second) {
      const std::size_t n = y - second;
      mid_.insert(mid_.end(), right_.rbegin(), right_.rbegin() + static_cast<std::ptrdiff_t>(n));
      right_.resize(right_.size() - n);
    } else if (y < second) {
      const auto n = static_cast<std::ptrdiff_t>(second - y);
      right_.append(mid_.rbegin(), mid_.rbegin() + n);
      mid_.erase(mid_.end() - n, mid_.end());
    }
  }

  std::string left_;
  std::deque<char> mid_;
  std::string right_;
};

// Where the first remaining occurrence of one placeholder can be. Below `from` there is none.
// After a replacement behind it, the stretch from `dirtyEnd` up to `resume` is text it had
// already searched, unchanged, and is skipped.
struct Cursor {
  std::string_view placeholder;
  std::size_t from = 0;
  std::size_t dirtyEnd = text::npos;
  std::size_t resume = text::npos;
};

std::size_t FindNext(const GapText& page, Cursor& c) {
  std::size_t x = c.from;
  while (x < page.size()) {
    if (x >= c.dirtyEnd && c.resume != text::npos) {
      if (x == c.dirtyEnd) x = c.resume;
      c.resume = text::npos;
      continue;
    }
    if (page.at(x) == '#' && page.MatchesAt(x, c.placeholder)) break;
    x += page.CharLength(x);
  }
  c.from = x;
  c.resume = text::npos;
  return x < page.size() ? x : text::npos;
}

// Whether the text ends in a lead byte with nothing to pair with: in the page it would take
// the next byte, and the characters after it would no longer start where they did.
bool EndsInALoneLead(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && i + text::CharLength(s, i) < s.size()) i += text::CharLength(s, i);
  return i < s.size() && static_cast<unsigned char>(s[i]) >= 0x80 && text::CharLength(s, i) == 1;
}

// Replaces the first remaining occurrence for `c`, then tells both cursors where to look
// again. A new occurrence can only begin inside the inserted text or up to a placeholder's
// length before it, where the text before now runs into the insertion.
void ReplaceNext(GapText& page, Cursor& c, Cursor& other, const std::string& with) {
  const std::size_t at = FindNext(page, c);
  if (at == text::npos) return;
  const std::size_t length = c.placeholder.size();
  page.Replace(at, length, with);
  const std::size_t back = page.BoundaryAtOrBefore(at >= length - 1 ? at - (length - 1) : 0);
  c.from = back;
  if (other.from > back) {
    const std::size_t end = at + with.size();
    const bool searched = other.from >= at + length && other.resume == text::npos;
    other.resume = searched && !EndsInALoneLead(with) ? other.from - length + with.size() : text::npos;
    other.dirtyEnd = end;
    other.from = back;
  } else if (other.resume != text::npos) {
    other.resume = text::npos;  // never met: the other cursor searches its way there itself
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
      if (t.find('#') != std::string::npos || EndsInALoneLead(t)) return false;
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
  GapText gap(page);
  Cursor title{text::kPhRandomTitle};
  Cursor link{text::kPhRandomLink};
  for (std::size_t k = 0; k < titles.size(); ++k) {
    ReplaceNext(gap, title, link, titles[k]);
    ReplaceNext(gap, link, title, links[k]);
    if (host != nullptr) host->ProcessEvents();
  }
  page = gap.Take();
}

}  // namespace lanzhou::generation
