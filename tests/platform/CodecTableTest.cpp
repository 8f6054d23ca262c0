// The configured converter against the vendor's own description of code page 936, on every
// UTF-16 code unit and every byte and byte pair. An ICU upgrade can move fallback data or
// default-ignorable handling under us; this is where that shows.
#include "platform/Codec.h"

#include "Hex.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace lanzhou::platform {
namespace {

constexpr std::uint32_t kUnlisted = 0xFFFFFFFF;

// The vendor table, parsed. Byte sequences are kept as numbers (0x41, 0xB0A1).
struct VendorTable {
  std::array<std::uint32_t, 0x100> single{};                    // byte -> unit
  std::array<std::array<std::uint32_t, 0x100>, 0x100> pairs{};  // [lead][trail] -> unit
  std::array<std::uint32_t, 0x10000> encode{};                  // unit -> bytes
  int singleCount = 0, pairCount = 0, leadCount = 0, encodeCount = 0;
  int declaredSingles = 0, declaredEncode = 0;
};

std::string BytesOf(std::uint32_t value) {
  if (value <= 0xFF) return std::string(1, static_cast<char>(value));
  return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

// The file is read as bytes: its comments are code page 936 text, and its lines end in CRLF.
// Everything after ";" is a comment; a line is either a keyword with numbers or two numbers.
std::unique_ptr<VendorTable> ParseVendorTable(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  auto t = std::make_unique<VendorTable>();
  t->single.fill(kUnlisted);
  for (auto& row : t->pairs) row.fill(kUnlisted);
  t->encode.fill(kUnlisted);

  enum class Section { None, Single, Range, Pairs, Encode } section = Section::None;
  unsigned firstLead = 0, lead = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (const auto semi = line.find(';'); semi != std::string::npos) line.erase(semi);
    std::istringstream words(line);
    std::string first, second;
    if (!(words >> first)) continue;
    words >> second;
    const auto number = [](const std::string& s) {
      return static_cast<std::uint32_t>(std::strtoul(s.c_str(), nullptr, 0));
    };
    if (first == "MBTABLE") {
      section = Section::Single;
      t->declaredSingles = static_cast<int>(number(second));
    } else if (first == "DBCSRANGE") {
      section = Section::Range;
    } else if (first == "DBCSTABLE") {
      section = Section::Pairs;
      lead = firstLead + static_cast<unsigned>(t->leadCount++);  // one table per lead, in order
    } else if (first == "WCTABLE") {
      section = Section::Encode;
      t->declaredEncode = static_cast<int>(number(second));
    } else if (first.rfind("0x", 0) == 0 && !second.empty()) {
      const std::uint32_t a = number(first), b = number(second);
      if (section == Section::Single) {
        t->single[a & 0xFF] = b;
        ++t->singleCount;
      } else if (section == Section::Range) {
        firstLead = a;
      } else if (section == Section::Pairs) {
        t->pairs[lead & 0xFF][a & 0xFF] = b;
        ++t->pairCount;
      } else if (section == Section::Encode) {
        t->encode[a & 0xFFFF] = b;
        ++t->encodeCount;
      }
    }
  }
  return t;
}

// Parsed once for the whole suite; null when this machine has no copy of the table.
const VendorTable* Table() {
  static const std::unique_ptr<VendorTable> table =
      ParseVendorTable(std::string(LANZHOU_SHARED_DIR) + "/data/bestfit936.txt");
  return table.get();
}

#define REQUIRE_TABLE()                                                                    \
  const VendorTable* table = Table();                                                      \
  if (table == nullptr) GTEST_SKIP() << "no " LANZHOU_SHARED_DIR "/data/bestfit936.txt here"

// Differences are collected and the first few shown, so one moved mapping does not drown the
// log and a wholesale break still shows its count.
class Mismatches {
 public:
  void Add(std::string what) {
    if (++count_ <= 20) list_ += "  " + what + "\n";
  }
  int Count() const { return count_; }
  const std::string& List() const { return list_; }

 private:
  int count_ = 0;
  std::string list_;
};

std::string Utf8Of(char16_t u) {
  if (u < 0x80) return std::string(1, static_cast<char>(u));
  if (u < 0x800)
    return {static_cast<char>(0xC0 | (u >> 6)), static_cast<char>(0x80 | (u & 0x3F))};
  return {static_cast<char>(0xE0 | (u >> 12)), static_cast<char>(0x80 | ((u >> 6) & 0x3F)),
          static_cast<char>(0x80 | (u & 0x3F))};
}

bool IsSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDFFF; }

TEST(CodecTable, VendorTableParsedWhole) {
  REQUIRE_TABLE();
  EXPECT_EQ(table->singleCount, table->declaredSingles);
  EXPECT_EQ(table->singleCount, 130);
  EXPECT_EQ(table->leadCount, 126);
  EXPECT_EQ(table->pairCount, 126 * 190);
  EXPECT_EQ(table->encodeCount, table->declaredEncode);
  EXPECT_EQ(table->encodeCount, 24482);
}

TEST(CodecTable, EveryCodeUnitEncodesAsTheVendorTableSays) {
  REQUIRE_TABLE();
  const Codec codec;
  Mismatches bad;
  for (std::uint32_t u = 0; u < 0x10000; ++u) {
    if (IsSurrogate(u)) continue;  // never alone in a text; CodecTest covers them
    const std::uint32_t listed = table->encode[u];
    const std::string want = listed == kUnlisted ? "?" : BytesOf(listed);
    const std::string got = codec.Utf16ToGbk(std::u16string(1, static_cast<char16_t>(u)));
    if (got != want) bad.Add("U+" + Hex(std::u16string(1, static_cast<char16_t>(u))) + ": " +
                             Hex(got) + ", table " + Hex(want));
  }
  EXPECT_EQ(bad.Count(), 0) << bad.List();
}

TEST(CodecTable, EveryByteAndBytePairDecodesAsTheVendorTableSays) {
  REQUIRE_TABLE();
  const Codec codec;
  Mismatches bad;
  const auto check = [&](const std::string& bytes, const std::u16string& want) {
    const std::u16string got = codec.GbkToUtf16(bytes);
    if (got != want) bad.Add(Hex(bytes) + ": " + Hex(got) + ", expected " + Hex(want));
  };
  for (unsigned b = 0; b < 0x100; ++b) {
    const std::uint32_t listed = table->single[b];
    if (listed != kUnlisted) {
      check(std::string(1, static_cast<char>(b)), std::u16string(1, static_cast<char16_t>(listed)));
    } else if (b >= 0x81 && b <= 0xFE) {
      check(std::string(1, static_cast<char>(b)), u"?");  // a lead byte with nothing after it
    } else {
      bad.Add("byte " + Hex(std::string(1, static_cast<char>(b))) + " is neither single nor lead");
    }
  }
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0; trail < 0x100; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::uint32_t listed = table->pairs[lead][trail];
      if (listed != kUnlisted) {
        check(pair, std::u16string(1, static_cast<char16_t>(listed)));
      } else {
        // Not a pair (every such trail is a single byte): the lead alone is "?" and the other
        // byte is read again on its own, so an ASCII byte after a stray lead survives.
        check(pair, {u'?', static_cast<char16_t>(table->single[trail])});
      }
    }
  }
  EXPECT_EQ(bad.Count(), 0) << bad.List();
}

// File names take only round-trip mappings: a best-fit look-alike would name a different file.
TEST(CodecTable, FileNamesKeepEveryRoundTripCharacterAndNoOther) {
  REQUIRE_TABLE();
  const Codec codec;
  Mismatches bad;
  for (std::uint32_t u = 1; u < 0x10000; ++u) {
    if (IsSurrogate(u)) continue;
    const std::uint32_t listed = table->encode[u];
    bool roundTrip = false;
    if (listed != kUnlisted) {
      roundTrip = listed <= 0xFF ? table->single[listed] == u
                                 : table->pairs[listed >> 8][listed & 0xFF] == u;
    }
    const std::string want = roundTrip ? BytesOf(listed) : "_";
    bool exact = !roundTrip;
    const std::string got = codec.FileNameToGbk(Utf8Of(static_cast<char16_t>(u)), &exact);
    if (got != want || exact != roundTrip) {
      bad.Add("U+" + Hex(std::u16string(1, static_cast<char16_t>(u))) + ": " + Hex(got) +
              (exact ? " exact" : " inexact") + ", expected " + Hex(want));
    }
  }
  EXPECT_EQ(bad.Count(), 0) << bad.List();
}

}  // namespace
}  // namespace lanzhou::platform
