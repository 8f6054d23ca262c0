#include "settings/IniFile.h"

#include "text/Gbk.h"

namespace lanzhou::settings {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Blanks are single bytes that no valid two-byte character ends in, so they are trimmed as
// bytes.
std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

struct Line {
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // one past the last byte before the line end
  std::size_t next = 0;   // start of the next line (past CR LF, CR or LF)
  bool terminated() const { return next > end; }
};

// Line ends are raw CR and LF bytes: neither can be the trail byte of a two-byte character.
Line LineAt(std::string_view file, std::size_t begin) {
  Line line;
  line.begin = begin;
  std::size_t i = begin;
  while (i < file.size() && file[i] != '\r' && file[i] != '\n') ++i;
  line.end = i;
  if (i < file.size()) {
    i += (file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n') ? 2 : 1;
  }
  line.next = i;
  return line;
}

enum class LineKind { Header, Key, Other };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;         // header: the section; key line: the key
  std::size_t valueOffset = 0;  // key line: offset of the byte after "=" within the line
};

ParsedLine Parse(std::string_view line) {
  ParsedLine parsed;
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i == line.size() || line[i] == ';') return parsed;
  if (line[i] == '[') {
    const std::size_t close = text::Find(line, "]", i + 1);
    const std::size_t stop = close == text::npos ? line.size() : close;
    parsed.kind = LineKind::Header;
    parsed.name = TrimBlanks(line.substr(i + 1, stop - i - 1));
    return parsed;
  }
  const std::size_t eq = text::Find(line, "=", i);
  if (eq == text::npos) return parsed;
  parsed.kind = LineKind::Key;
  parsed.name = TrimBlanks(line.substr(0, eq));
  parsed.valueOffset = eq + 1;
  return parsed;
}

std::string_view Unquote(std::string_view v) {
  if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

// Where a key lives in a file, or where it would go.
struct KeyPlace {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;             // keyFound: the key's line
  std::size_t valueOffset = 0;
  Line anchor;              // sectionFound and not keyFound: the line the new key follows
};

KeyPlace Locate(std::string_view file, std::string_view section, std::string_view key) {
  KeyPlace place;
  bool inSection = false;
  for (std::size_t at = 0; at < file.size();) {
    const Line line = LineAt(file, at);
    at = line.next;
    const ParsedLine parsed = Parse(file.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Header) {
      if (inSection) break;  // only the first section of the name counts
      if (text::EqualsFoldAscii(parsed.name, section)) {
        inSection = true;
        place.sectionFound = true;
        place.anchor = line;
      }
    } else if (inSection && parsed.kind == LineKind::Key) {
      if (text::EqualsFoldAscii(parsed.name, key)) {
        place.keyFound = true;
        place.keyLine = line;
        place.valueOffset = parsed.valueOffset;
        return place;
      }
      place.anchor = line;
    }
  }
  return place;
}

}  // namespace

std::optional<std::string> ReadIniValue(std::string_view file, std::string_view section,
                                        std::string_view key) {
  const KeyPlace place = Locate(file, TrimBlanks(section), TrimBlanks(key));
  if (!place.keyFound) return std::nullopt;
  const Line& line = place.keyLine;
  const std::string_view raw =
      file.substr(line.begin + place.valueOffset, line.end - line.begin - place.valueOffset);
  return std::string(Unquote(TrimBlanks(raw)));
}

std::string WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  const KeyPlace place = Locate(file, section, key);
  std::string out;
  out.reserve(file.size() + section.size() + key.size() + value.size() + 8);
  if (place.keyFound) {
    const Line& line = place.keyLine;
    out.append(file.substr(0, line.begin + place.valueOffset));
    out.append(value);
    out.append("\r\n");
    out.append(file.substr(line.next));
    return out;
  }
  if (place.sectionFound) {
    const Line& anchor = place.anchor;
    out.append(file.substr(0, anchor.next));
    if (!anchor.terminated()) out.append("\r\n");
    out.append(key).append("=").append(value).append("\r\n");
    out.append(file.substr(anchor.next));
    return out;
  }
  out.append(file);
  if (!out.empty() && out.back() != '\r' && out.back() != '\n') out.append("\r\n");
  out.append("[").append(section).append("]\r\n");
  out.append(key).append("=").append(value).append("\r\n");
  return out;
}

std::string IniDefault(std::string_view defaultValue) {
  while (!defaultValue.empty() && defaultValue.back() == ' ') defaultValue.remove_suffix(1);
  return std::string(defaultValue);
}

}  // namespace lanzhou::settings
