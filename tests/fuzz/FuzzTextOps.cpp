// TextBetween, PairedReplace, ConvertQuotes and LinkTarget against their plain definitions.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "text/TextOps.h"

using namespace lanzhou;
using fuzz::ReferenceFind;

namespace {

std::string ReferenceBetween(std::string_view t, std::string_view left, std::string_view right) {
  std::size_t pL;
  if (left.empty()) {
    if (t.empty()) return {};
    pL = 0;
  } else {
    pL = ReferenceFind(t, left, 0, true);
    if (pL == text::npos) return {};
  }
  const std::size_t s = pL + left.size();
  if (right.empty()) return {};  // found at once, or not at all: either way nothing between
  const std::size_t pR = ReferenceFind(t, right, s, true);
  if (pR == text::npos || pR <= s) return {};
  return std::string(t.substr(s, pR - s));
}

std::string ReferenceReplaceAll(std::string_view t, std::string_view find, std::string_view with,
                                bool fold) {
  if (find.empty()) return std::string(t);
  std::string out;
  for (std::size_t i = 0; i < t.size();) {
    if (fuzz::MatchesAt(t, i, find, fold)) {
      out += with;
      i += find.size();
    } else {
      const std::size_t n = text::CharLength(t, i);
      out += t.substr(i, n);
      i += n;
    }
  }
  return out;
}

std::vector<std::string_view> ReferenceSplit(std::string_view list) {
  std::vector<std::string_view> items;
  if (list.empty()) return items;
  std::size_t start = 0;
  for (std::size_t i = 0; i < list.size(); i += text::CharLength(list, i)) {
    if (list[i] == '|') {
      items.push_back(list.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < list.size()) items.push_back(list.substr(start));
  return items;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string left = in.ConsumeRandomLengthString(8);
  const std::string right = in.ConsumeRandomLengthString(8);
  const std::string finds = in.ConsumeRandomLengthString(16);
  const std::string replaces = in.ConsumeRandomLengthString(16);
  const bool caseSensitive = in.ConsumeBool();
  const std::string t = in.ConsumeRemainingBytesAsString();

  FUZZ_CHECK(text::TextBetween(t, left, right) == ReferenceBetween(t, left, right));

  std::string expected = t;
  const auto findItems = ReferenceSplit(finds);
  const auto replaceItems = ReferenceSplit(replaces);
  for (std::size_t k = 0; k < findItems.size(); ++k) {
    const std::string_view with = k < replaceItems.size() ? replaceItems[k] : std::string_view{};
    expected = ReferenceReplaceAll(expected, findItems[k], with, !caseSensitive);
  }
  FUZZ_CHECK(text::PairedReplace(t, finds, replaces, caseSensitive) == expected);

  FUZZ_CHECK(text::ConvertQuotes(t) == ReferenceReplaceAll(t, "''", "\"", false));

  // A link target: none of the bytes that change an address or end an attribute stands bare,
  // and decoding the escapes gives the name back.
  const std::string link = text::LinkTarget(t);
  std::string decoded;
  for (std::size_t i = 0; i < link.size(); ++i) {
    const auto b = static_cast<unsigned char>(link[i]);
    FUZZ_CHECK(b != '#' && b != '?' && b != '"' && b >= 0x20 && b != 0x7F);
    if (b == '%') {
      FUZZ_CHECK(i + 2 < link.size());
      decoded += static_cast<char>(std::stoi(link.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      decoded += link[i];
    }
  }
  FUZZ_CHECK(decoded == t);
  return 0;
}
