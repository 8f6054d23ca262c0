#include "platform/Codec.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

namespace lanzhou::platform {
namespace {

constexpr char16_t kInvalidUnit = 0xFFFF;  // U+FFFF is not in code page 936

// Writes "?" for every character the converter cannot map. ICU's own substitute callback
// silently drops default-ignorable characters (U+FEFF, U+200B, ...), which would make them
// vanish instead of showing up as "?".
void QuestionMarkFromUnicode(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                             UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *err = U_ZERO_ERROR;
    ucnv_cbFromUWriteBytes(args, "?", 1, 0, err);
  }
}

void QuestionMarkToUnicode(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                           UConverterCallbackReason reason, UErrorCode* err) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *err = U_ZERO_ERROR;
    const UChar q = u'?';
    ucnv_cbToUWriteUChars(args, &q, 1, 0, err);
  }
}

// The converter's answers, asked once per process for every code unit and byte pair, so that
// conversions are plain table look-ups. The tables never change after they are built.
struct Tables {
  // UTF-16 unit -> bytes; a second byte of 0 means a one-byte character. "?" marks a unit that
  // code page 936 lacks (except U+003F itself).
  std::array<std::array<char, 2>, 0x10000> encode{};
  std::array<char16_t, 0x100> single{};                 // bytes 0x00-0x80, 0xFF
  std::vector<char16_t> pairs = std::vector<char16_t>(126 * 256, kInvalidUnit);  // lead 0x81-0xFE
  // Units that may compose with the unit before them; for all others (every ideograph among
  // them) the composition look-up is skipped, which keeps Chinese text on the fast path.
  std::vector<unsigned char> combinesBack = std::vector<unsigned char>(0x10000, 0);
  bool ok = false;
};

Tables BuildTables() {
  Tables t;
  UErrorCode err = U_ZERO_ERROR;
  UConverter* cnv = ucnv_open("windows-936", &err);
  if (U_FAILURE(err)) return t;
  ucnv_setFallback(cnv, true);
  ucnv_setFromUCallBack(cnv, QuestionMarkFromUnicode, nullptr, nullptr, nullptr, &err);
  ucnv_setToUCallBack(cnv, QuestionMarkToUnicode, nullptr, nullptr, nullptr, &err);
  for (char32_t u = 0; u < 0x10000; ++u) {
    auto& out = t.encode[u];
    out = {'?', 0};
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    const UChar unit = static_cast<UChar>(u);
    char buf[8];
    err = U_ZERO_ERROR;
    ucnv_resetFromUnicode(cnv);
    const int32_t n = ucnv_fromUChars(cnv, buf, sizeof buf, &unit, 1, &err);
    if (U_SUCCESS(err) && (n == 1 || n == 2)) out = {buf[0], n == 2 ? buf[1] : '\0'};
  }
  // Fallback data that maps these to control bytes; the vendor table has none for them.
  for (char16_t u : {u'\uFFE9', u'\uFFEA', u'\uFFEB', u'\uFFEC', u'\uFFEE'}) t.encode[u] = {'?', 0};

  auto decode = [&](const char* bytes, int32_t len) -> char16_t {
    UChar buf[8];
    err = U_ZERO_ERROR;
    ucnv_resetToUnicode(cnv);
    const int32_t n = ucnv_toUChars(cnv, buf, 8, bytes, len, &err);
    return (U_SUCCESS(err) && n == 1) ? buf[0] : kInvalidUnit;
  };
  for (int b = 0; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    t.single[static_cast<std::size_t>(b)] =
        (b <= 0x80 || b == 0xFF) ? decode(&byte, 1) : kInvalidUnit;
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      t.pairs[static_cast<std::size_t>((lead - 0x81) * 256 + trail)] = decode(pair, 2);
    }
  }
  ucnv_close(cnv);
  err = U_ZERO_ERROR;
  if (const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(err); U_SUCCESS(err)) {
    for (UChar32 u = 0; u < 0x10000; ++u) {
      if (!U16_IS_SURROGATE(u)) t.combinesBack[static_cast<std::size_t>(u)] = !nfc->hasBoundaryBefore(u);
    }
  }
  t.ok = true;
  return t;
}

const Tables& SharedTables() {
  static const Tables tables = BuildTables();
  return tables;
}

}  // namespace

struct Codec::Converters {
  const Tables& tables = SharedTables();
  const icu::Normalizer2* nfc = nullptr;
  // Reused between calls so that decoding a file does not clear a fresh buffer each time; a
  // Codec belongs to one thread.
  mutable std::u16string scratch;
  mutable std::string encodeBuffer;
  mutable std::u16string carry;  // the units a blocked conversion has not encoded yet

  // Buffers a conversion of a whole large text grew are given back: a 1 GiB article must not
  // keep gigabytes held for the rest of the run.
  void Release() const {
    constexpr std::size_t kKeep = 1 << 20;
    if (scratch.capacity() > kKeep) std::u16string().swap(scratch);
    if (encodeBuffer.capacity() > 2 * kKeep) std::string().swap(encodeBuffer);
    if (carry.capacity() > kKeep) std::u16string().swap(carry);
  }

  // Decodes into `scratch`; returns the units decoded.
  std::u16string_view DecodeUtf8(std::string_view utf8) const {
    if (scratch.size() < utf8.size()) scratch.resize(utf8.size());
    int32_t length = 0;
    UErrorCode err = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(scratch.data()),
                         static_cast<int32_t>(scratch.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &err);
    if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) return {};
    return std::u16string_view(scratch).substr(0, static_cast<std::size_t>(length));
  }

  bool Unmappable(char16_t u) const { return tables.encode[u][0] == '?' && u != u'?'; }

  // Whether the bytes of `u` decode to `u` again (best-fit mappings do not).
  bool RoundTrips(char16_t u) const {
    const auto& b = tables.encode[u];
    const auto lead = static_cast<unsigned char>(b[0]);
    if (b[1] == '\0') return tables.single[lead] == u;
    return tables.pairs[static_cast<std::size_t>((lead - 0x81) * 256 +
                                                 static_cast<unsigned char>(b[1]))] == u;
  }

  // Shared by the text and file-name conversions. A file name must come back as the same
  // bytes, so it takes neither best-fit look-alikes nor precomposition. The result lives in
  // `encodeBuffer` until the next call.
  std::string_view EncodeInto(std::u16string_view s, char substitute, bool fileName,
                              bool* exact) const {
    // Written through a pointer into a reused buffer: appending byte by byte to a string costs
    // as much as the conversion itself.
    if (encodeBuffer.size() < s.size() * 2) encodeBuffer.resize(s.size() * 2);
    char* const begin = encodeBuffer.data();
    char* o = begin;
    bool lossless = true;
    for (std::size_t i = 0; i < s.size(); ++i) {
      char16_t u = s[i];
      if (u < 0x80 && (i + 1 == s.size() || !tables.combinesBack[s[i + 1]])) {
        *o++ = static_cast<char>(u);
        continue;
      }
      if (U16_IS_LEAD(u) && i + 1 < s.size() && U16_IS_TRAIL(s[i + 1])) {
        ++i;  // one character, one substitute
        *o++ = substitute;
        lossless = false;
        continue;
      }
      if (!fileName && i + 1 < s.size()) {
        if (const char16_t composed = Composed(u, s[i + 1])) {
          u = composed;
          ++i;
        }
      }
      if (Unmappable(u) || (fileName && !RoundTrips(u))) {
        *o++ = substitute;
        lossless = false;
        continue;
      }
      const auto& bytes = tables.encode[u];
      *o++ = bytes[0];
      if (bytes[1] != '\0') *o++ = bytes[1];
    }
    if (exact != nullptr) *exact = lossless;
    return std::string_view(begin, static_cast<std::size_t>(o - begin));
  }
  std::string Encode(std::u16string_view s, char substitute, bool fileName, bool* exact) const {
    return std::string(EncodeInto(s, substitute, fileName, exact));
  }

  // The precomposed character that `u` and the mark after it become, or 0 when they stay two.
  char16_t Composed(char16_t u, char16_t next) const {
    if (nfc == nullptr || !tables.combinesBack[next]) return 0;
    const UChar32 composed = nfc->composePair(u, next);
    if (composed <= 0 || composed >= 0x10000 || Unmappable(static_cast<char16_t>(composed))) return 0;
    return static_cast<char16_t>(composed);
  }

  // Where `units` may be cut so that encoding the two parts apart gives the bytes of encoding
  // them whole: the last place that splits neither a surrogate pair nor a letter from a mark it
  // would be precomposed with. 0 when there is none.
  std::size_t LastSafeCut(std::u16string_view units) const {
    for (std::size_t j = units.size(); j-- > 1;) {
      if (!U16_IS_TRAIL(units[j]) && Composed(units[j - 1], units[j]) == 0) return j;
    }
    return 0;
  }

  // Encodes `carry` as far as is safe, appending to `out`; what may still join the units of
  // the next block stays in `carry`. With `last`, everything is encoded.
  void EncodeBlock(bool last, std::string& out) const {
    const std::size_t cut = last ? carry.size() : LastSafeCut(carry);
    out.append(EncodeInto(std::u16string_view(carry).substr(0, cut), '?', false, nullptr));
    carry.erase(0, cut);
  }
};

Codec::Codec() : cnv_(std::make_unique<Converters>()) {
  UErrorCode err = U_ZERO_ERROR;
  cnv_->nfc = icu::Normalizer2::getNFCInstance(err);
  if (U_FAILURE(err)) cnv_->nfc = nullptr;
}

Codec::~Codec() = default;

bool Codec::Ready() const { return cnv_->tables.ok; }

std::u16string Codec::Utf8ToUtf16(std::string_view utf8) const {
  std::u16string units(cnv_->DecodeUtf8(utf8));
  cnv_->Release();
  return units;
}

std::string Codec::Utf8ToGbk(std::string_view utf8) const { return Utf8ToGbk(utf8, kBlockBytes); }

std::string Codec::Utf8ToGbk(std::string_view utf8, std::size_t blockBytes) const {
  blockBytes = std::max<std::size_t>(blockBytes, 4);
  std::string out;
  out.reserve(utf8.size());  // never more bytes than went in, so never a second buffer
  std::u16string& carry = cnv_->carry;
  carry.clear();
  while (!utf8.empty()) {
    std::size_t cut = std::min(blockBytes, utf8.size());
    if (cut < utf8.size()) {
      // Not inside a sequence: before a byte that is no continuation byte, or after three
      // continuation bytes in a row, which no sequence can still take.
      for (std::size_t back = 0; back < 3; ++back) {
        if ((static_cast<unsigned char>(utf8[cut]) & 0xC0) != 0x80) break;
        --cut;
      }
      if ((static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) cut += 3;
    }
    carry.append(cnv_->DecodeUtf8(utf8.substr(0, cut)));
    utf8.remove_prefix(cut);
    cnv_->EncodeBlock(utf8.empty(), out);
  }
  cnv_->Release();
  return out;
}

std::string Codec::Utf16LeToGbk(std::string_view bytes) const {
  return Utf16LeToGbk(bytes, kBlockBytes);
}

std::string Codec::Utf16LeToGbk(std::string_view bytes, std::size_t blockBytes) const {
  blockBytes = std::max<std::size_t>(blockBytes & ~std::size_t{1}, 2);
  std::string out;
  out.reserve(bytes.size() / 2 * 2);
  std::u16string& carry = cnv_->carry;
  carry.clear();
  bytes = bytes.substr(0, bytes.size() / 2 * 2);  // an odd last byte is no unit
  while (!bytes.empty()) {
    const std::size_t cut = std::min(blockBytes, bytes.size());
    carry.append(Utf16LeToUnits(bytes.substr(0, cut)));
    bytes.remove_prefix(cut);
    cnv_->EncodeBlock(bytes.empty(), out);
  }
  cnv_->Release();
  return out;
}

std::u16string Codec::Utf16LeToUnits(std::string_view bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return out;
}

std::string Codec::Utf16ToGbk(std::u16string_view units) const {
  std::string out = cnv_->Encode(units, '?', false, nullptr);
  cnv_->Release();
  return out;
}

std::u16string Codec::GbkToUtf16(std::string_view gbk) const {
  const Tables& t = cnv_->tables;
  std::u16string out;
  out.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b >= 0x81 && b <= 0xFE) {
      if (i + 1 < gbk.size()) {
        const auto trail = static_cast<unsigned char>(gbk[i + 1]);
        const char16_t u = t.pairs[static_cast<std::size_t>((b - 0x81) * 256 + trail)];
        if (u != kInvalidUnit) {
          out.push_back(u);
          ++i;
          continue;
        }
      }
      out.push_back(u'?');  // the lead alone; a bad trail byte is read again on its own
      continue;
    }
    const char16_t u = t.single[b];
    out.push_back(u == kInvalidUnit ? u'?' : u);
  }
  return out;
}

std::string Codec::Utf16ToUtf8(std::u16string_view units) const {
  std::string out(units.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length,
                     reinterpret_cast<const UChar*>(units.data()),
                     static_cast<int32_t>(units.size()), 0xFFFD, nullptr, &err);
  if (U_FAILURE(err) && err != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::string Codec::FileNameToGbk(std::string_view native, bool* exact) const {
  return cnv_->Encode(cnv_->DecodeUtf8(native), '_', true, exact);
}

}  // namespace lanzhou::platform
