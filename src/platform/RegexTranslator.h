// Rewrites a pattern of the scripting dialect users type into PCRE2 syntax, so that PCRE2
// (compiled with UTF and without Unicode properties) matches what the dialect matches.
//
// Where the dialect differs from PCRE2's reading of the same text:
//   .          any character but LF (CR included)
//   ^ $        start / end of the text; with `multiline` also after / before an LF or a CR
//   \d \w \s   ASCII only; \s is [ \f\n\r\t\v], so the ideographic space U+3000 is not blank
//   \xHH \uHHHH  exactly 2 / 4 hex digits, else the letter x / u itself
//   \N         a back-reference when the pattern has that many groups (longest such prefix of
//              the digits), else \8 \9 are digits and the rest an octal escape up to 0o377
//   \cX        a control character for a letter X, else the letter c
//   \q ...     any other escaped character is that character
//   {          literal unless it starts {n}, {n,} or {n,m}; ] and } are literal outside a class
//   [\d-z]     a class escape at either end of a range makes the "-" literal
//
//   TranslatePattern(u"a.b", false)  -> u"a[^\n]b"
//   TranslatePattern(u"(?<=a)b", false) -> nullopt   (the dialect has no lookbehind)
//
// Rejected, as the dialect rejects them: "(?" followed by anything but ":", "=" or "!"
// (lookbehind, named groups, inline flags, atomic groups), a quantifier with nothing to repeat
// (at the start, after "(", "|", an anchor or another quantifier), {n,m} with m < n, a class
// range out of order, unbalanced parentheses, an unterminated class and a final backslash.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lanzhou::platform {

std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool multiline);

}  // namespace lanzhou::platform
