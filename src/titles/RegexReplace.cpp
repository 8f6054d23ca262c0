#include "titles/RegexReplace.h"

namespace lanzhou::titles {
namespace {

constexpr bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

void AppendSpan(std::u16string& out, std::u16string_view subject, const platform::RegexSpan& s) {
  if (s.Matched()) out.append(subject.substr(s.start, s.end - s.start));
}

}  // namespace

std::u16string ExpandReplacement(std::u16string_view replacement, std::u16string_view subject,
                                 const platform::RegexGroups& match) {
  std::u16string out;
  const std::size_t groups = match.empty() ? 0 : match.size() - 1;
  const platform::RegexSpan whole = match.empty() ? platform::RegexSpan{} : match[0];
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    const char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out += c;
      continue;
    }
    const char16_t n = replacement[i + 1];
    if (n == u'$') {
      out += u'$';
      ++i;
    } else if (n == u'&') {
      AppendSpan(out, subject, whole);
      ++i;
    } else if (n == u'`') {
      if (whole.Matched()) out.append(subject.substr(0, whole.start));
      ++i;
    } else if (n == u'\'') {
      if (whole.Matched()) out.append(subject.substr(whole.end));
      ++i;
    } else if (IsDigit(n)) {
      const std::size_t one = static_cast<std::size_t>(n - u'0');
      if (i + 2 < replacement.size() && IsDigit(replacement[i + 2])) {
        const std::size_t two = one * 10 + static_cast<std::size_t>(replacement[i + 2] - u'0');
        if (two >= 1 && two <= groups) {
          AppendSpan(out, subject, match[two]);
          i += 2;
          continue;
        }
      }
      if (one >= 1 && one <= groups) {
        AppendSpan(out, subject, match[one]);
        ++i;
      } else {
        out += u'$';
      }
    } else {
      out += u'$';
    }
  }
  return out;
}

std::u16string ReplaceMatches(std::u16string_view subject,
                              const std::vector<platform::RegexGroups>& matches,
                              std::u16string_view replacement) {
  std::u16string out;
  std::size_t last = 0;
  for (const auto& m : matches) {
    if (m.empty() || !m[0].Matched() || m[0].start < last || m[0].end > subject.size()) continue;
    out.append(subject.substr(last, m[0].start - last));
    out += ExpandReplacement(replacement, subject, m);
    last = m[0].end;
  }
  out.append(subject.substr(last));
  return out;
}

}  // namespace lanzhou::titles
