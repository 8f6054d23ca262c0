// Text operations of the page run and the loader, on code page 936 text (see Gbk.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lanzhou::text {

// The text between a left and a right marker. `start` is a 1-based position, read and updated:
// forward, the search begins there (below 1 counts as 1) and afterwards `start` points just
// past the right marker; backward, the pair found is the last one wholly before `start` (below
// 1: the whole text), and `start` then points at the left marker. ASCII letters match without
// regard to case. An empty marker is found at the start of any non-empty stretch.
//
//   long pos = 0;
//   TextBetween("xx[a]yy[b]", "[", "]", 0, 0, pos) -> "a", pos == 6
struct TextBetweenOptions {
  long leftOffset = 0;
  long rightOffset = 0;
  bool reverse = false;
  bool convertQuotes = false;
};
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long& start, const TextBetweenOptions& options = {});
// The common call: forward from the start, no offsets.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right);
// The same, as a view into `text` (no copy of what may be a whole article).
std::string_view TextBetweenView(std::string_view text, std::string_view left,
                                 std::string_view right);

// Items of a "|"-separated list: empty pieces count, except a last one.
//   SplitList("|a||b|", "|") -> {"", "a", "", "b"}
std::vector<std::string_view> SplitList(std::string_view list, std::string_view separator);

// Each find item replaced by the replacement item at the same place (missing ones are empty,
// surplus ones unused), pair after pair. ASCII letters fold unless `caseSensitive`.
std::string PairedReplace(std::string_view text, std::string_view findList,
                          std::string_view replaceList, bool caseSensitive = false,
                          std::string_view separator = "|");

// Every "''" becomes one double quote, left to right.
std::string ConvertQuotes(std::string_view text);

// A page name as it goes into an href: the bytes that would change what a browser reads as the
// address ("%", "#", "?") or end the attribute ('"', control characters) become "%XX"; every
// other byte stays, so an ordinary name gives the same bytes. Works byte by byte: a trail byte
// of code page 936 is never one of these, and a stray one in a broken name must not slip by.
//   LinkTarget("hash#tag.htm") -> "hash%23tag.htm"
std::string LinkTarget(std::string_view pageName);

}  // namespace lanzhou::text
