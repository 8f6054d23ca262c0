// The text forms in which the settings file holds each kind of value. A file written by one
// build must read back the same in any other, so these are fixed.
//
//   StoredText("a\r\nb")  -> "a┊*┊b"          TextFromStored("a┊*┊b") -> "a\r\nb"
//   StoredNumber(0.5)     -> "0.5"            NumberFromStored("12ab") -> 12
//   StoredBool(true)      -> "真"
//   StoredTime({2026, 1, 2, 3, 0, 0}) -> "2026年1月2日3时"
//
// All texts are code page 936 bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/DateTime.h"

namespace lanzhou::settings {

// A text as one value: every CR LF becomes "┊*┊". A lone CR or LF becomes "┊*┊" too, because
// written raw it would end the value there and start a stray line in the file (one that could
// even open a section). When reading would drop something at the ends (a blank, or a pair of
// enclosing quotes), the value is wrapped in double quotes, which reading removes again, so
// the text comes back as it was saved.
std::string StoredText(std::string_view text);
// A stored text back: every "┊*┊" becomes CR LF.
std::string TextFromStored(std::string_view stored);
// Only the line-break step of StoredText, for a default handed to a read.
std::string EscapeLineBreaks(std::string_view text);

// "%.13g", always with "." as the point, whatever the process's locale.
std::string StoredNumber(double value);
// The number a text begins with: full-width digits, signs, point and blank read as ASCII,
// leading blanks skipped, then the longest decimal number (sign, point, exponent allowed) at the
// start; 0 when the text does not begin with one.
double NumberFromStored(std::string_view stored);
// A stored number as an index: truncated toward zero, clamped to the range of int.
int TruncateToInt(double value);

// "真" or "假".
std::string_view StoredBool(bool value);

// "%d年%d月%d日", then "%d时%d分%d秒", "%d时%d分", "%d时" or nothing: the shortest form that
// keeps every non-zero part of the time.
std::string StoredTime(const DateTime& time);
// The date (and time) in a text: the stored form, and the forms a user types, such as
// "2026年1月2日", "2026-1-2 3:04", "2026/01/02 03:04:05" (full-width digits allowed);
// nullopt when the text is not a valid date between the years 100 and 9999.
std::optional<DateTime> TimeFromStored(std::string_view stored);

}  // namespace lanzhou::settings
