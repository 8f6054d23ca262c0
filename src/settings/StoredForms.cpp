#include "settings/StoredForms.h"

#include <charconv>
#include <climits>
#include <cmath>

#include "generation/GenerationSettings.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::settings {
namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// CR and LF are never the trail byte of a two-byte character, so line breaks are found byte by
// byte; that also catches one after a stray lead byte, which must not reach the file raw.
std::string ReplaceLineBreaks(std::string_view text, bool loneOnesToo) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out.append(text::kLineBreakEscape);
      ++i;
    } else if (loneOnesToo && (c == '\r' || c == '\n')) {
      out.append(text::kLineBreakEscape);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

// Whether reading the value back would drop blanks at its ends or a pair of enclosing quotes.
bool ReadingWouldChange(std::string_view v) {
  if (v.empty()) return false;
  if (IsIniBlank(v.front()) || IsIniBlank(v.back())) return true;
  return v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'');
}

// A small reader over ASCII text for the date forms.
class Cursor {
 public:
  explicit Cursor(std::string_view s) : s_(s) {}
  bool AtEnd() const { return i_ == s_.size(); }
  void SkipSpaces() {
    while (i_ < s_.size() && IsSpace(s_[i_])) ++i_;
  }
  bool Take(std::string_view what) {
    if (s_.substr(i_, what.size()) != what) return false;
    i_ += what.size();
    return true;
  }
  bool TakeAny(std::string_view chars, char& taken) {
    if (i_ >= s_.size() || chars.find(s_[i_]) == std::string_view::npos) return false;
    taken = s_[i_++];
    return true;
  }
  // Up to nine digits, so the value fits an int; more digits are not a date anyway.
  bool Number(int& value) {
    const std::size_t start = i_;
    long v = 0;
    while (i_ < s_.size() && IsDigit(s_[i_]) && i_ - start < 9) v = v * 10 + (s_[i_++] - '0');
    if (i_ == start || (i_ < s_.size() && IsDigit(s_[i_]))) return false;
    value = static_cast<int>(v);
    return true;
  }
  bool PeekDigit() const { return i_ < s_.size() && IsDigit(s_[i_]); }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

bool ParseDate(Cursor& c, DateTime& t) {
  if (!c.Number(t.year)) return false;
  if (c.Take(text::kYearMark)) {
    if (!c.Number(t.month) || !c.Take(text::kMonthMark) || !c.Number(t.day)) return false;
    c.Take(text::kDayMark);  // "2026年1月2" is as clear as "2026年1月2日"
    return true;
  }
  char sep = 0;
  if (!c.TakeAny("-/.", sep) || !c.Number(t.month)) return false;
  return c.Take(std::string_view(&sep, 1)) && c.Number(t.day);
}

bool ParseTime(Cursor& c, DateTime& t) {
  if (!c.Number(t.hour)) return false;
  if (c.Take(text::kHourMark)) {
    if (!c.PeekDigit()) return true;
    if (!c.Number(t.minute) || !c.Take(text::kMinuteMark)) return false;
    if (!c.PeekDigit()) return true;
    return c.Number(t.second) && c.Take(text::kSecondMark);
  }
  if (!c.Take(":") || !c.Number(t.minute)) return false;
  if (c.Take(":")) return c.Number(t.second);
  return true;
}

bool IsValid(const DateTime& t) {
  return t.year >= 100 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= DaysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 &&
         t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

}  // namespace

std::string EscapeLineBreaks(std::string_view text) { return ReplaceLineBreaks(text, false); }

std::string StoredText(std::string_view text) {
  std::string v = ReplaceLineBreaks(text, true);
  if (ReadingWouldChange(v)) v = "\"" + v + "\"";
  return v;
}

std::string TextFromStored(std::string_view stored) {
  // Byte by byte, as the escapes were written: a one-byte "€" (0x80) before a line break would
  // otherwise be read together with the escape's first byte, and the line break would come back
  // as the escape's text. In valid code page 936 no other character can end inside an escape.
  std::string out;
  out.reserve(stored.size());
  const std::string_view escape = text::kLineBreakEscape;
  for (std::size_t i = 0; i < stored.size();) {
    if (stored.substr(i, escape.size()) == escape) {
      out += "\r\n";
      i += escape.size();
    } else {
      out += stored[i++];
    }
  }
  return out;
}

std::string StoredNumber(double value) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 13);
  return std::string(buf, r.ptr);
}

double NumberFromStored(std::string_view stored) {
  const std::string s = generation::FullWidthToAscii(stored);
  std::size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  const bool negative = i < s.size() && s[i] == '-';
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const std::size_t start = i;
  std::size_t digits = 0;
  for (; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i) ++digits;
  }
  if (digits == 0) return 0;
  bool tinyExponent = false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    const bool minus = j < s.size() && s[j] == '-';
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && IsDigit(s[j])) {  // an "e" without digits is not part of the number
      while (j < s.size() && IsDigit(s[j])) ++j;
      i = j;
      tinyExponent = minus;
    }
  }
  double value = 0;
  const auto r = std::from_chars(s.data() + start, s.data() + i, value);
  if (r.ec == std::errc::result_out_of_range) value = tinyExponent ? 0.0 : HUGE_VAL;
  return negative ? -value : value;
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

std::string_view StoredBool(bool value) { return value ? text::kTrue : text::kFalse; }

std::string StoredTime(const DateTime& t) {
  std::string s = std::to_string(t.year);
  s.append(text::kYearMark).append(std::to_string(t.month));
  s.append(text::kMonthMark).append(std::to_string(t.day)).append(text::kDayMark);
  if (t.second != 0 || t.minute != 0 || t.hour != 0) {
    s.append(std::to_string(t.hour)).append(text::kHourMark);
  }
  if (t.second != 0 || t.minute != 0) {
    s.append(std::to_string(t.minute)).append(text::kMinuteMark);
  }
  if (t.second != 0) s.append(std::to_string(t.second)).append(text::kSecondMark);
  return s;
}

std::optional<DateTime> TimeFromStored(std::string_view stored) {
  const std::string s = generation::FullWidthToAscii(stored);
  Cursor c(s);
  DateTime t{0, 0, 0, 0, 0, 0};
  c.SkipSpaces();
  if (!ParseDate(c, t)) return std::nullopt;
  c.SkipSpaces();
  if (!c.AtEnd() && !ParseTime(c, t)) return std::nullopt;
  c.SkipSpaces();
  if (!c.AtEnd() || !IsValid(t)) return std::nullopt;
  return t;
}

}  // namespace lanzhou::settings
