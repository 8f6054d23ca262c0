#include "text/TextOps.h"

#include "text/Gbk.h"

namespace lanzhou::text {
namespace {

// An empty marker is found at `from` whenever the stretch from there holds a byte.
std::size_t FindMarker(std::string_view text, std::string_view marker, std::size_t from) {
  if (marker.empty()) return from < text.size() ? from : npos;
  return Find(text, marker, from, Case::FoldAscii);
}

std::size_t FindMarkerLast(std::string_view text, std::string_view marker, std::size_t end) {
  if (marker.empty()) return end > 0 ? 0 : npos;
  return FindLast(text, marker, end, Case::FoldAscii);
}

// Moves a 0-based offset forward to the next character boundary.
std::size_t AlignToBoundary(std::string_view text, std::size_t at) {
  std::size_t b = 0;
  while (b < at && b < text.size()) b += CharLength(text, b);
  return b;
}

}  // namespace

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right,
                        long& start, const TextBetweenOptions& options) {
  std::string leftOwned;
  std::string rightOwned;
  if (options.convertQuotes) {
    leftOwned = ConvertQuotes(left);
    rightOwned = ConvertQuotes(right);
    left = leftOwned;
    right = rightOwned;
  }
  std::size_t pL = 0;  // 0-based
  std::size_t pR = 0;
  if (!options.reverse) {
    const std::size_t from = start < 1 ? 0 : AlignToBoundary(text, static_cast<std::size_t>(start - 1));
    pL = FindMarker(text, left, from);
    if (pL == npos) return {};
    pR = FindMarker(text, right, pL + left.size());
    if (pR == npos) return {};
    start = static_cast<long>(pR + right.size()) + 1;
  } else {
    const std::size_t end = start < 1 ? text.size()
                                      : std::min(text.size(), static_cast<std::size_t>(start - 1));
    pR = FindMarkerLast(text, right, end);
    if (pR == npos) return {};
    pL = FindMarkerLast(text, left, pR);
    if (pL == npos) return {};
    start = static_cast<long>(pL) + 1;
  }
  const long s = static_cast<long>(pL + left.size()) + options.leftOffset;  // 0-based
  const long n = static_cast<long>(pR) - s - options.rightOffset;
  if (s < 0 || s >= static_cast<long>(text.size()) || n <= 0) return {};
  return std::string(text.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(n)));
}

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right) {
  long start = 0;
  return TextBetween(text, left, right, start);
}

std::string_view TextBetweenView(std::string_view text, std::string_view left,
                                 std::string_view right) {
  const std::size_t pL = FindMarker(text, left, 0);
  if (pL == npos) return {};
  const std::size_t pR = FindMarker(text, right, pL + left.size());
  if (pR == npos) return {};
  const std::size_t s = pL + left.size();
  if (s >= text.size() || pR <= s) return {};
  return text.substr(s, pR - s);
}

std::vector<std::string_view> SplitList(std::string_view list, std::string_view separator) {
  std::vector<std::string_view> items;
  if (list.empty()) return items;
  if (separator.empty()) return {list};
  std::size_t done = 0;
  for (std::size_t at = Find(list, separator, 0); at != npos;
       at = Find(list, separator, done)) {
    items.push_back(list.substr(done, at - done));
    done = at + separator.size();
  }
  if (done < list.size()) items.push_back(list.substr(done));
  return items;
}

std::string PairedReplace(std::string_view text, std::string_view findList,
                          std::string_view replaceList, bool caseSensitive,
                          std::string_view separator) {
  if (separator.empty()) separator = "|";
  const auto finds = SplitList(findList, separator);
  const auto replacements = SplitList(replaceList, separator);
  const Case c = caseSensitive ? Case::Exact : Case::FoldAscii;
  std::string out(text);
  for (std::size_t k = 0; k < finds.size(); ++k) {
    const std::string_view with = k < replacements.size() ? replacements[k] : std::string_view{};
    out = ReplaceAll(out, finds[k], with, c);
  }
  return out;
}

std::string ConvertQuotes(std::string_view text) { return ReplaceAll(text, "''", "\""); }

std::string LinkTarget(std::string_view pageName) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(pageName.size());
  for (const char c : pageName) {
    const auto b = static_cast<unsigned char>(c);
    if (b == '%' || b == '#' || b == '?' || b == '"' || b < 0x20 || b == 0x7F) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace lanzhou::text
