// Shared by the fuzz targets: a codec, a check that aborts with a message (so libFuzzer keeps
// the input as a crash), and the reference searches the properties are stated in.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Codec.h"
#include "text/Gbk.h"

namespace lanzhou::fuzz {

inline const platform::Codec& TheCodec() {
  static const platform::Codec codec;
  return codec;
}

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (false)

// Whether `needle` stands at `at`, the ASCII letters folded when asked. Only one-byte
// characters fold: the second byte of a two-byte character of the needle is compared as it is,
// even where it has the value of a letter.
inline bool MatchesAt(std::string_view text, std::size_t at, std::string_view needle, bool fold) {
  if (at + needle.size() > text.size()) return false;
  for (std::size_t i = 0; i < needle.size();) {
    const std::size_t n = text::CharLength(needle, i);
    for (std::size_t j = i; j < i + n; ++j) {
      const char a = text[at + j], b = needle[j];
      if (a != b && !(fold && n == 1 && text::FoldAscii(a) == text::FoldAscii(b))) return false;
    }
    i += n;
  }
  return true;
}

// The plain definition of a search: from `from`, stepping one character at a time (a byte of
// 0x80 or above with the byte after it), the first place the needle stands.
inline std::size_t ReferenceFind(std::string_view text, std::string_view needle, std::size_t from,
                                 bool fold) {
  if (needle.empty()) return text::npos;
  for (std::size_t i = from; i < text.size(); i += text::CharLength(text, i)) {
    if (MatchesAt(text, i, needle, fold)) return i;
  }
  return text::npos;
}

// Valid code page 936 as the vendor's table has it: single bytes below 0x80 (no NUL), the
// one-byte characters 0x80 (U+20AC) and 0xFF (U+F8F5), pairs of a lead 0x81-0xFE and a trail
// 0x40-0xFE other than 0x7F, each decoding to a character and back to the same bytes.
inline bool IsValidGbk(std::string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b == 0) return false;
    if (b <= 0x80 || b == 0xFF) continue;
    if (i + 1 == s.size()) return false;
    const auto t = static_cast<unsigned char>(s[++i]);
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
  }
  return TheCodec().Utf16ToGbk(TheCodec().GbkToUtf16(s)) == s;
}

// Any bytes made into valid code page 936 text, for properties that hold only for such text.
inline std::string ValidGbk(std::string_view bytes) {
  std::string s = TheCodec().Utf16ToGbk(TheCodec().GbkToUtf16(bytes));
  std::string out;
  for (char c : s) {
    if (c != '\0') out += c;
  }
  return out;
}

}  // namespace lanzhou::fuzz
