// Conversions between the encodings the system meets: code page 936 (GBK, the text of the whole
// core), UTF-8 and UTF-16LE (article files, file names on this platform, terminal text), and
// UTF-16 (the regex engine's text). Built on ICU, configured to give the results of the
// vendor's code page 936 table, best-fit mappings included.
//
// Conversions never fail: what cannot be decoded becomes U+FFFD, what code page 936 cannot hold
// becomes "?". Make one Codec per thread and pass it around: it keeps a buffer between calls.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace lanzhou::platform {

class Codec {
 public:
  Codec();
  ~Codec();
  Codec(const Codec&) = delete;
  Codec& operator=(const Codec&) = delete;

  // False when ICU lacks the code page 936 converter: every conversion would then be wrong, so
  // a program must refuse to run rather than write pages of garbage.
  bool Ready() const;

  // UTF-8 bytes to UTF-16; each maximal ill-formed subsequence becomes one U+FFFD.
  std::u16string Utf8ToUtf16(std::string_view utf8) const;
  // Little-endian byte pairs to units; an odd last byte is ignored.
  static std::u16string Utf16LeToUnits(std::string_view bytes);
  // UTF-16 to code page 936. A base letter followed by a combining mark is precomposed first
  // where code page 936 holds the result; a character it lacks (invisible ones included)
  // becomes "?" (a supplementary character becomes one "?").
  std::string Utf16ToGbk(std::u16string_view units) const;
  // Code page 936 to UTF-16; an invalid sequence becomes "?".
  std::u16string GbkToUtf16(std::string_view gbk) const;

  // UTF-16LE bytes (an odd last byte is ignored) to code page 936, as Utf16ToGbk would give.
  // This and Utf8ToGbk convert a block at a time, so their only large buffer is the result,
  // which is never longer than the input.
  std::string Utf16LeToGbk(std::string_view bytes) const;
  // The same with blocks of `blockBytes` (at least 4), for tests that cut tiny texts often.
  std::string Utf8ToGbk(std::string_view utf8, std::size_t blockBytes) const;
  std::string Utf16LeToGbk(std::string_view bytes, std::size_t blockBytes) const;

  std::string Utf16ToUtf8(std::u16string_view units) const;
  std::string GbkToUtf8(std::string_view gbk) const { return Utf16ToUtf8(GbkToUtf16(gbk)); }
  std::string Utf8ToGbk(std::string_view utf8) const;

  // A file name as the OS spells it (UTF-8 bytes) turned into the system's text. Unlike
  // Utf8ToGbk, a character code page 936 lacks (or a byte that is not UTF-8) becomes "_": a
  // "?" in a page name would turn its link into a query. `exact` tells whether the name came
  // through unchanged, i.e. whether GbkToFileName gives the same bytes back.
  std::string FileNameToGbk(std::string_view native, bool* exact = nullptr) const;
  // The system's text to the OS's spelling of a file name.
  std::string GbkToFileName(std::string_view gbk) const { return GbkToUtf8(gbk); }

 private:
  static constexpr std::size_t kBlockBytes = 64 * 1024;
  struct Converters;
  std::unique_ptr<Converters> cnv_;
};

}  // namespace lanzhou::platform
