#include "platform/RegexTranslator.h"

#include <cstddef>
#include <cstdint>

namespace lanzhou::platform {
namespace {

// A back-reference reads at most this many digits; more groups than that never occur.
constexpr std::size_t kMaxReferenceDigits = 5;
// Repeat counts saturate here; PCRE2 refuses anything above 65535 anyway.
constexpr std::uint32_t kCountCeiling = 1000000;

constexpr bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
constexpr bool IsOctal(char32_t c) { return c >= '0' && c <= '7'; }
constexpr bool IsHex(char32_t c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
constexpr std::uint32_t HexValue(char32_t c) {
  return IsDigit(c) ? c - '0' : (c >= 'a' ? c - 'a' + 10 : c - 'A' + 10);
}
constexpr bool IsAsciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiAlnum(char32_t c) { return IsAsciiLetter(c) || IsDigit(c); }
// Text converted from code page 936 holds no surrogates, and PCRE2 in UTF mode refuses them
// as literals, so a surrogate in a pattern is a character that can never match.
constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendHex(std::u16string& out, char32_t c) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  char16_t buf[8];
  int n = 0;
  do {
    buf[n++] = kDigits[c & 15];
    c >>= 4;
  } while (c != 0);
  out += u"\\x{";
  while (n > 0) out += buf[--n];
  out += u'}';
}

void AppendNumber(std::u16string& out, std::uint32_t v) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    v /= 10;
  } while (v != 0);
  out += digits;
}

// Capturing groups in the whole pattern: a back-reference is told from an octal escape by
// the total count, wherever the group stands.
std::size_t CountGroups(std::u16string_view p) {
  std::size_t count = 0;
  bool inClass = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const char16_t c = p[i];
    if (c == u'\\') {
      ++i;
    } else if (inClass) {
      inClass = c != u']';
    } else if (c == u'[') {
      inClass = true;
    } else if (c == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
      ++count;
    }
  }
  return count;
}

class Translator {
 public:
  Translator(std::u16string_view pattern, bool multiline)
      : p_(pattern), multiline_(multiline), groups_(CountGroups(pattern)) {}

  std::optional<std::u16string> Run() {
    std::size_t depth = 0;
    Last last = Last::Nothing;
    while (i_ < p_.size()) {
      const char16_t c = p_[i_];
      switch (c) {
        case u'*':
        case u'+':
        case u'?':
          if (last != Last::Atom) return std::nullopt;
          out_ += c;
          ++i_;
          TakeLazy();
          last = Last::Quantifier;
          break;
        case u'{': {
          const auto q = ReadBraces();
          if (!q) {  // not a repeat count: a literal brace
            AppendLiteral(c);
            ++i_;
            last = Last::Atom;
            break;
          }
          if (last != Last::Atom || (q->bounded && q->max < q->min)) return std::nullopt;
          out_ += u'{';
          AppendNumber(out_, q->min);
          if (!q->exact) {
            out_ += u',';
            if (q->bounded) AppendNumber(out_, q->max);
          }
          out_ += u'}';
          i_ = q->end;
          TakeLazy();
          last = Last::Quantifier;
          break;
        }
        case u'(':
          if (i_ + 1 < p_.size() && p_[i_ + 1] == u'?') {
            // Only non-capturing groups and lookahead exist in the dialect.
            if (i_ + 2 >= p_.size()) return std::nullopt;
            const char16_t kind = p_[i_ + 2];
            if (kind != u':' && kind != u'=' && kind != u'!') return std::nullopt;
            out_ += u"(?";
            out_ += kind;
            i_ += 3;
          } else {
            out_ += u'(';
            ++i_;
          }
          ++depth;
          last = Last::Nothing;
          break;
        case u')':
          if (depth == 0) return std::nullopt;
          --depth;
          out_ += u')';
          ++i_;
          last = Last::Atom;
          break;
        case u'|':
          out_ += u'|';
          ++i_;
          last = Last::Nothing;
          break;
        case u'.':
          out_ += u"[^\\n]";
          ++i_;
          last = Last::Atom;
          break;
        case u'^':
          // Lookbehind rather than PCRE2's multiline mode: the dialect counts a CR alone as a
          // line break, and also matches between the CR and the LF of a CR LF.
          out_ += multiline_ ? u"(?<![^\\n\\r])" : u"\\A";
          ++i_;
          last = Last::Anchor;
          break;
        case u'$':
          out_ += multiline_ ? u"(?![^\\n\\r])" : u"\\z";
          ++i_;
          last = Last::Anchor;
          break;
        case u'[':
          if (!TranslateClass()) return std::nullopt;
          last = Last::Atom;
          break;
        case u'\\': {
          const auto kind = TranslateEscape();
          if (!kind) return std::nullopt;
          last = *kind;
          break;
        }
        default:
          AppendLiteral(c);
          ++i_;
          last = Last::Atom;
          break;
      }
    }
    if (depth != 0) return std::nullopt;
    return std::move(out_);
  }

 private:
  // What the previous item was, to refuse a quantifier with nothing to repeat.
  enum class Last { Nothing, Atom, Anchor, Quantifier };

  struct Braces {
    std::size_t end;  // just past the "}"
    std::uint32_t min;
    std::uint32_t max;
    bool exact;    // {n}
    bool bounded;  // {n} or {n,m}
  };

  // One item of a class: a character, or one of the sets \d \D \w \W \s \S.
  struct ClassAtom {
    char32_t code = 0;
    char16_t set = 0;
  };

  void TakeLazy() {
    if (i_ < p_.size() && p_[i_] == u'?') {
      out_ += u'?';
      ++i_;
    }
  }

  std::optional<std::uint32_t> ReadCount(std::size_t& j) const {
    if (j >= p_.size() || !IsDigit(p_[j])) return std::nullopt;
    std::uint32_t v = 0;
    for (; j < p_.size() && IsDigit(p_[j]); ++j) {
      v = v * 10 + (p_[j] - u'0');
      if (v > kCountCeiling) v = kCountCeiling;
    }
    return v;
  }

  // {n}, {n,} or {n,m} at i_, or nothing when the brace starts none of them.
  std::optional<Braces> ReadBraces() const {
    std::size_t j = i_ + 1;
    const auto min = ReadCount(j);
    if (!min || j >= p_.size()) return std::nullopt;
    if (p_[j] == u'}') return Braces{j + 1, *min, *min, true, true};
    if (p_[j] != u',') return std::nullopt;
    ++j;
    if (j < p_.size() && p_[j] == u'}') return Braces{j + 1, *min, 0, false, false};
    const auto max = ReadCount(j);
    if (!max || j >= p_.size() || p_[j] != u'}') return std::nullopt;
    return Braces{j + 1, *min, *max, false, true};
  }

  void AppendLiteral(char32_t c) {
    if (IsSurrogate(c)) {
      out_ += u"(?!)";
    } else if (c < 0x80 && !IsAsciiAlnum(c)) {
      AppendHex(out_, c);  // punctuation, blanks and controls, never read as syntax
    } else {
      out_ += static_cast<char16_t>(c);
    }
  }

  // An octal escape whose first digit is at `start`: three digits when the value stays
  // within 0o377, else two.
  char32_t ReadOctal(std::size_t start) {
    const std::size_t maxDigits = p_[start] <= u'3' ? 3 : 2;
    char32_t v = 0;
    std::size_t j = start;
    for (; j < p_.size() && j - start < maxDigits && IsOctal(p_[j]); ++j) v = v * 8 + (p_[j] - u'0');
    i_ = j;
    return v;
  }

  // The character of an escape other than a digit or a set; `e` is the character after the
  // backslash and i_ stands just past it.
  char32_t ReadCharEscape(char16_t e) {
    switch (e) {
      case u'f': return 0x0C;
      case u'n': return 0x0A;
      case u'r': return 0x0D;
      case u't': return 0x09;
      case u'v': return 0x0B;
      case u'c':
        if (i_ < p_.size() && IsAsciiLetter(p_[i_])) return p_[i_++] % 32;
        return u'c';
      case u'x':
        if (i_ + 1 < p_.size() && IsHex(p_[i_]) && IsHex(p_[i_ + 1])) {
          const char32_t v = HexValue(p_[i_]) * 16 + HexValue(p_[i_ + 1]);
          i_ += 2;
          return v;
        }
        return u'x';
      case u'u':
        if (i_ + 3 < p_.size() && IsHex(p_[i_]) && IsHex(p_[i_ + 1]) && IsHex(p_[i_ + 2]) &&
            IsHex(p_[i_ + 3])) {
          char32_t v = 0;
          for (int k = 0; k < 4; ++k) v = v * 16 + HexValue(p_[i_ + k]);
          i_ += 4;
          return v;
        }
        return u'u';
      default:
        return e;
    }
  }

  static bool IsSetEscape(char16_t e) {
    return e == u'd' || e == u'D' || e == u'w' || e == u'W' || e == u's' || e == u'S';
  }

  std::optional<Last> TranslateEscape() {
    if (i_ + 1 >= p_.size()) return std::nullopt;  // a final backslash
    const char16_t e = p_[i_ + 1];
    const std::size_t digitStart = i_ + 1;
    i_ += 2;
    if (e == u'b' || e == u'B') {
      out_ += u'\\';
      out_ += e;
      return Last::Anchor;
    }
    if (IsSetEscape(e)) {  // ASCII sets under UTF without Unicode properties, as wanted
      out_ += u'\\';
      out_ += e;
      return Last::Atom;
    }
    if (e == u'0') {
      AppendLiteral(ReadOctal(digitStart));
      return Last::Atom;
    }
    if (IsDigit(e)) {
      // The longest run of digits that names an existing group is a back-reference;
      // "\12" with one group is group 1 followed by "2".
      std::size_t runEnd = digitStart;
      while (runEnd < p_.size() && IsDigit(p_[runEnd]) && runEnd - digitStart < kMaxReferenceDigits)
        ++runEnd;
      for (std::size_t len = runEnd - digitStart; len >= 1; --len) {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < len; ++k) v = v * 10 + (p_[digitStart + k] - u'0');
        if (v >= 1 && v <= groups_) {
          out_ += u"\\g{";
          AppendNumber(out_, v);
          out_ += u'}';
          i_ = digitStart + len;
          return Last::Atom;
        }
      }
      if (e == u'8' || e == u'9') {
        AppendLiteral(e);
        return Last::Atom;
      }
      AppendLiteral(ReadOctal(digitStart));
      return Last::Atom;
    }
    AppendLiteral(ReadCharEscape(e));
    return Last::Atom;
  }

  bool ReadClassAtom(ClassAtom& atom) {
    if (i_ >= p_.size()) return false;
    const char16_t c = p_[i_];
    if (c != u'\\') {
      atom.code = c;
      ++i_;
      return true;
    }
    if (i_ + 1 >= p_.size()) return false;
    const char16_t e = p_[i_ + 1];
    const std::size_t digitStart = i_ + 1;
    i_ += 2;
    if (IsSetEscape(e)) {
      atom.set = e;
    } else if (e == u'b') {
      atom.code = 0x08;  // backspace inside a class
    } else if (IsOctal(e)) {
      atom.code = ReadOctal(digitStart);  // no back-references inside a class
    } else {
      atom.code = ReadCharEscape(e);
    }
    return true;
  }

  void AppendClassAtom(std::u16string& body, const ClassAtom& a) {
    if (a.set != 0) {
      body += u'\\';
      body += a.set;
    } else if (!IsSurrogate(a.code)) {
      AppendHex(body, a.code);
    }
  }

  void AppendClassRange(std::u16string& body, char32_t lo, char32_t hi) {
    if (IsSurrogate(lo)) lo = 0xE000;
    if (IsSurrogate(hi)) hi = 0xD7FF;
    if (lo > hi) return;
    AppendHex(body, lo);
    body += u'-';
    AppendHex(body, hi);
  }

  // The class at i_, rebuilt item by item with every character written as a code, so that
  // nothing in it can be read as PCRE2 syntax (POSIX classes, \Q, \p ...).
  bool TranslateClass() {
    ++i_;
    bool negate = false;
    if (i_ < p_.size() && p_[i_] == u'^') {
      negate = true;
      ++i_;
    }
    std::u16string body;
    for (;;) {
      if (i_ >= p_.size()) return false;
      if (p_[i_] == u']') {
        ++i_;
        break;
      }
      ClassAtom a;
      if (!ReadClassAtom(a)) return false;
      if (i_ + 1 < p_.size() && p_[i_] == u'-' && p_[i_ + 1] != u']') {
        ++i_;
        ClassAtom b;
        if (!ReadClassAtom(b)) return false;
        if (a.set != 0 || b.set != 0) {  // a set cannot bound a range: the "-" is literal
          AppendClassAtom(body, a);
          AppendHex(body, u'-');
          AppendClassAtom(body, b);
        } else {
          if (a.code > b.code) return false;
          AppendClassRange(body, a.code, b.code);
        }
      } else {
        AppendClassAtom(body, a);
      }
    }
    if (body.empty()) {
      out_ += negate ? u"[\\s\\S]" : u"(?!)";  // "[]" matches nothing, "[^]" anything
    } else {
      out_ += negate ? u"[^" : u"[";
      out_ += body;
      out_ += u']';
    }
    return true;
  }

  std::u16string_view p_;
  bool multiline_;
  std::size_t groups_;
  std::size_t i_ = 0;
  std::u16string out_;
};

}  // namespace

std::optional<std::u16string> TranslatePattern(std::u16string_view pattern, bool multiline) {
  return Translator(pattern, multiline).Run();
}

}  // namespace lanzhou::platform
