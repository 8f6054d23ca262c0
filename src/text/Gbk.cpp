#include "text/Gbk.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace lanzhou::text {
namespace {

bool SameFolded(char a, char b) { return FoldAscii(a) == FoldAscii(b); }

// Equal with the ASCII letters folded; the second byte of a two-byte character is compared as
// it is, even where it has the value of a letter. `b` must start at a character boundary.
bool EqualFolded(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t len = CharLength(a, i);
    if (len == 2) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
    } else if (!SameFolded(a[i], b[i])) {
      return false;
    }
    i += len;
  }
  return true;
}

// Raw byte search; character boundaries are checked by the caller.
std::size_t RawFind(std::string_view text, std::string_view needle, std::size_t from, Case c) {
  if (from > text.size() || needle.size() > text.size() - from) return npos;
  if (c == Case::Exact) return text.find(needle, from);
  // Search on the first byte (either case), then compare the rest folded.
  const char first = needle[0];
  const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 32) : first;
  const char firstLower = FoldAscii(first);
  const std::size_t last = text.size() - needle.size();
  for (std::size_t i = from; i <= last;) {
    const char* base = text.data() + i;
    const std::size_t span = last - i + 1;
    const void* p1 = std::memchr(base, firstLower, span);
    const void* p2 = firstUpper != firstLower ? std::memchr(base, firstUpper, span) : nullptr;
    const char* hit = static_cast<const char*>(p1);
    if (p2 != nullptr && (hit == nullptr || p2 < static_cast<const void*>(hit)))
      hit = static_cast<const char*>(p2);
    if (hit == nullptr) return npos;
    const std::size_t at = static_cast<std::size_t>(hit - text.data());
    if (EqualFolded(needle, text.substr(at, needle.size()))) return at;
    i = at + 1;
  }
  return npos;
}

}  // namespace

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from, Case c) {
  if (needle.empty()) return npos;
  // `boundary` walks the characters and never goes back, so a whole scan stays linear.
  std::size_t boundary = from;
  std::size_t searchFrom = from;
  while (true) {
    const std::size_t hit = RawFind(text, needle, searchFrom, c);
    if (hit == npos) return npos;
    while (boundary < hit) boundary += CharLength(text, boundary);
    if (boundary == hit) return hit;
    searchFrom = boundary;  // the hit began inside a two-byte character
  }
}

std::size_t FindLast(std::string_view text, std::string_view needle, std::size_t end, Case c) {
  if (needle.empty()) return npos;
  std::size_t found = npos;
  for (std::size_t at = Find(text, needle, 0, c); at != npos && at + needle.size() <= end;
       at = Find(text, needle, at + CharLength(text, at), c)) {
    found = at;
  }
  return found;
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       Case c) {
  std::string out;
  if (find.empty()) return std::string(text);
  std::size_t done = 0;
  for (std::size_t at = Find(text, find, 0, c); at != npos; at = Find(text, find, done, c)) {
    // Room for this replacement exactly, and a little more: a page whose one content slot takes
    // a large body must not be copied again when the template's tail is appended (that copy
    // doubled the buffer and made a large article cost three times its size).
    if (out.empty()) {
      out.reserve(text.size() + (with.size() > find.size() ? with.size() - find.size() + 64 : 0));
    }
    out.append(text.substr(done, at - done));
    out.append(with);
    done = at + find.size();
  }
  if (done == 0) return std::string(text);
  out.append(text.substr(done));
  return out;
}

std::size_t ReplaceFirst(std::string& text, std::string_view find, std::string_view with,
                         std::size_t from, Case c) {
  const std::size_t at = Find(text, find, from, c);
  if (at != npos) text.replace(at, find.size(), with);
  return at;
}

std::size_t Count(std::string_view text, std::string_view needle, Case c) {
  std::size_t n = 0;
  for (std::size_t at = Find(text, needle, 0, c); at != npos;
       at = Find(text, needle, at + needle.size(), c)) {
    ++n;
  }
  return n;
}

std::string_view LeftChars(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t n = 0; n < count && end < text.size(); ++n) end += CharLength(text, end);
  return text.substr(0, end);
}

bool EqualsFoldAscii(std::string_view a, std::string_view b) { return EqualFolded(a, b); }

}  // namespace lanzhou::text
