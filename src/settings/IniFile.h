// Reading and editing INI file bytes in memory, with the rules the settings file has always
// been read by: code page 936 text, "[section]" lines, "key=value" lines.
//
// Reading. Lines end at CR LF, a lone CR or a lone LF. A header is a line whose first non-blank
// character is "[": its name runs to the first "]" (or the end of the line) and is trimmed;
// what follows the "]" is ignored. A line whose first non-blank character is ";" is a comment.
// Any other line with an "=" is a key line: the key is the text before the first "=", the value
// the text after it, both with blanks (space, tab, vertical tab) dropped at both ends, and the
// value then loses one matching pair of enclosing double or single quotes. There are no inline
// comments. Lines before the first header belong to no section. Names match with the ASCII
// letters folded; a two-byte character is compared whole, so a trail byte is never folded and
// never closes a header. Of duplicate sections only the first counts, and of duplicate keys in
// it only the first.
//
//   ReadIniValue("[s]\r\nK = \"a b\" \r\n", "S", "k") -> "a b"
//
// Writing changes exactly one line, or adds one, and keeps every other byte: an existing key
// keeps its line up to and including "=" (the file's own spelling) and gets the new value; a
// new key goes directly after the section's last key line, or right after its header when it
// has none; a new section goes at the end of the file, with no blank line before it. Every line
// written ends in CR LF, and a last line without a line end gets one before anything is added
// after it. The value is written as given.
//
//   WriteIniValue("[s]\r\na=1\r\n;note\r\n", "s", "k", "v") -> "[s]\r\na=1\r\nk=v\r\n;note\r\n"
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanzhou::settings {

// The value of `key` in the first section named `section`, whole; nullopt when the section or
// the key is not there. Blanks around the two names are ignored.
std::optional<std::string> ReadIniValue(std::string_view file, std::string_view section,
                                        std::string_view key);

// `file` with `key` set to `value` in the first section named `section` (blanks around the two
// names dropped), as described above.
std::string WriteIniValue(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view value);

// What a read returns for a missing key: the caller's default with its trailing spaces removed
// (only 0x20; leading blanks and a trailing tab stay).
std::string IniDefault(std::string_view defaultValue);

}  // namespace lanzhou::settings
