#include "platform/FolderListing.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace lanzhou::platform {
namespace {

std::u16string UpperUnits(std::u16string s) {
  for (auto& u : s) u = static_cast<char16_t>(u_toupper(u));
  return s;
}

bool Match(std::u16string_view p, std::u16string_view n) {
  // Iterative glob with one backtrack point: linear in practice, never exponential.
  std::size_t pi = 0, ni = 0, starP = std::u16string_view::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == u'*') {
      starP = pi++;
      starN = ni;
    } else if (starP != std::u16string_view::npos) {
      pi = starP + 1;
      ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}

// Both already upper-cased.
bool MatchUpper(std::u16string_view p, const std::u16string& n) {
  if (Match(p, n)) return true;
  return n.find(u'.') == std::u16string::npos && Match(p, n + u'.');
}

}  // namespace

bool WildcardMatch(std::u16string_view pattern, std::u16string_view name) {
  return MatchUpper(UpperUnits(std::u16string(pattern)), UpperUnits(std::u16string(name)));
}

std::vector<std::string> ListFolder(FileSystem& files, const Codec& codec,
                                    const std::string& folder, std::string_view wildcardGbk,
                                    const std::function<void()>& afterEachEntry) {
  struct Found {
    std::u16string key;
    std::string name;
  };
  std::vector<Found> found;
  const std::u16string pattern = UpperUnits(codec.GbkToUtf16(wildcardGbk));
  if (auto entries = files.ListFolder(folder)) {
    for (auto& e : *entries) {
      if (!e.isFolder && e.name != "." && e.name != "..") {
        std::u16string key = UpperUnits(codec.Utf8ToUtf16(e.name));
        if (MatchUpper(pattern, key)) found.push_back({std::move(key), std::move(e.name)});
      }
      if (afterEachEntry) afterEachEntry();
    }
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.key != b.key ? a.key < b.key : a.name < b.name;
  });
  const std::string prefix = (!folder.empty() && folder.back() == '/') ? folder : folder + "/";
  std::vector<std::string> paths;
  paths.reserve(found.size());
  for (const auto& f : found) paths.push_back(prefix + f.name);
  return paths;
}

}  // namespace lanzhou::platform
