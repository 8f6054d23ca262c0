// The settings file: a text value written into any file reads back as it was written (its line
// breaks as CR LF, which is all the stored form keeps), and no other key of the file changes.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "settings/IniFile.h"
#include "settings/StoredForms.h"

using namespace lanzhou;

namespace {

// A name the file can hold: valid code page 936, no line end, no "=" (a key would end there),
// no "]" (a section would end there), not opening with "[" or ";", not blank.
std::string Name(std::string_view bytes) {
  std::string kept;
  for (char c : bytes) {
    if (c != '\r' && c != '\n' && c != '=' && c != ']') kept += c;
  }
  // After the filter, so that it cannot split a pair. Names of the file are fixed texts, so the
  // one-byte 0x80 and 0xFF (which the character rules pair with the byte after) are left out.
  std::string out;
  const std::string valid = fuzz::ValidGbk(kept);
  for (std::size_t i = 0; i < valid.size(); ++i) {
    const auto b = static_cast<unsigned char>(valid[i]);
    if (b < 0x80) {
      out += valid[i];
    } else if (b != 0x80 && b != 0xFF && i + 1 < valid.size()) {
      out += valid.substr(i++, 2);
    }
  }
  const auto first = out.find_first_not_of(" \t\v");
  if (first == std::string::npos || out[first] == '[' || out[first] == ';') return {};
  return out;
}

// What reading gives back of a stored text: every line break, lone or not, as CR LF. Line
// breaks are bytes here, as the stored form finds them.
std::string LineBreaksAsCrLf(std::string_view t) {
  std::string out;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (t[i] == '\r' || t[i] == '\n') {
      out += "\r\n";
    } else {
      out += t[i];
    }
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = Name(in.ConsumeRandomLengthString(12));
  const std::string key = Name(in.ConsumeRandomLengthString(12));
  const std::string otherSection = Name(in.ConsumeRandomLengthString(12));
  const std::string otherKey = Name(in.ConsumeRandomLengthString(12));
  const std::string value = fuzz::ValidGbk(in.ConsumeRandomLengthString(64));
  const std::string file = in.ConsumeRemainingBytesAsString();
  if (section.empty() || key.empty()) return 0;

  const std::string written = settings::WriteIniValue(file, section, key, settings::StoredText(value));
  const auto read = settings::ReadIniValue(written, section, key);
  FUZZ_CHECK(read.has_value());
  std::string expected = LineBreaksAsCrLf(value);
  // A "┊*┊" the user typed reads back as a line break too: the stored form cannot tell them apart.
  expected = settings::TextFromStored(settings::EscapeLineBreaks(expected));
  FUZZ_CHECK(settings::TextFromStored(*read) == expected);

  if (!otherSection.empty() && !otherKey.empty()) {
    auto trim = [](std::string_view s) {
      const auto a = s.find_first_not_of(" \t\v");
      const auto b = s.find_last_not_of(" \t\v");
      return a == std::string_view::npos ? std::string() : std::string(s.substr(a, b - a + 1));
    };
    const bool same = text::EqualsFoldAscii(trim(section), trim(otherSection)) &&
                      text::EqualsFoldAscii(trim(key), trim(otherKey));
    if (!same) {
      FUZZ_CHECK(settings::ReadIniValue(written, otherSection, otherKey) ==
                 settings::ReadIniValue(file, otherSection, otherKey));
    }
  }
  return 0;
}
