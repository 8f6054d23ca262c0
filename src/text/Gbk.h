// The character rules of code page 936 text, shared by every part of the core.
//
// A character is one byte below 0x80, or a byte of 0x80 or above together with the byte after
// it (that second byte may be below 0x80). Searches only ever match at the start of a
// character, and case folding, where asked for, touches the ASCII letters alone.
//
//   text::Find("\xB1\x41" "A", "A", 0, text::Case::Exact)  -> 2  (the 0x41 at 1 is a trail byte)
//
// Positions here are 0-based byte offsets; npos means "not found".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lanzhou::text {

enum class Case { Exact, FoldAscii };

inline constexpr std::size_t npos = std::string_view::npos;

// Bytes taken by the character that starts at `i`: 2 for a lead byte with a byte after it, else 1.
constexpr std::size_t CharLength(std::string_view s, std::size_t i) noexcept {
  return (static_cast<unsigned char>(s[i]) >= 0x80 && i + 1 < s.size()) ? 2 : 1;
}

constexpr char FoldAscii(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// First occurrence of `needle` starting at a character boundary at or after `from` (which must
// itself be a boundary). An empty needle is never found.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0,
                 Case c = Case::Exact);

// Last occurrence that begins at a character boundary and ends at or before `end`.
std::size_t FindLast(std::string_view text, std::string_view needle, std::size_t end,
                     Case c = Case::Exact);

// Every occurrence replaced, left to right, not overlapping; an inserted text is not searched
// again. An empty `find` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view with,
                       Case c = Case::Exact);

// The first occurrence at or after `from` replaced; returns where the replacement starts, or
// npos (and leaves the text alone) when there is none.
std::size_t ReplaceFirst(std::string& text, std::string_view find, std::string_view with,
                         std::size_t from = 0, Case c = Case::Exact);

// Non-overlapping occurrences, counted from the start.
std::size_t Count(std::string_view text, std::string_view needle, Case c = Case::Exact);

// The first `count` characters; a two-byte character is never cut.
std::string_view LeftChars(std::string_view text, std::size_t count);

// Whether two texts are equal with the ASCII letters folded.
bool EqualsFoldAscii(std::string_view a, std::string_view b);

}  // namespace lanzhou::text
