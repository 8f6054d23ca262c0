// The regular-expression engine of the system: patterns in the scripting dialect users type
// (an ECMAScript-style dialect, see RegexTranslator.h), matched on UTF-16 text.
//
//   auto engine = CreateRegexEngine();
//   engine->Compile(u"(.+)[_-].*", /*ignoreCase=*/true, /*multiline=*/true);   // -> true
//   engine->Execute(u"标题_站点", /*global=*/true);   // one match: [0,5), group 1 = [0,2)
//
// Positions and lengths count UTF-16 units. Nothing here throws: a pattern the dialect or the
// engine refuses makes Compile return false, and the engine then matches nothing until the
// next successful Compile.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace lanzhou::platform {

// Where one group of a match lies, as [start, end) in UTF-16 units; a group that took no part
// in the match has start == end == npos.
struct RegexSpan {
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  std::size_t start = npos;
  std::size_t end = npos;

  bool Matched() const noexcept { return start != npos; }
  std::size_t Length() const noexcept { return Matched() ? end - start : 0; }
};

// Group 0 (the whole match) first, then every capturing group of the pattern.
using RegexGroups = std::vector<RegexSpan>;

class RegexEngine {
 public:
  virtual ~RegexEngine() = default;

  // Replaces the current pattern. False when the pattern is rejected; the engine is then
  // without a pattern.
  virtual bool Compile(std::u16string_view pattern, bool ignoreCase, bool multiline) = 0;
  // Whether a compiled pattern is in place.
  virtual bool HasPattern() const = 0;
  // Capturing groups of the compiled pattern (0 without one).
  virtual std::size_t GroupCount() const = 0;

  // The matches of the pattern in `subject`, left to right: only the first one, or with
  // `global` every one, where after an empty match the search resumes one unit further on
  // (the scripting rule, which differs from Perl's retry at the same place). Each search sees
  // the whole subject, so anchors, "\b" and lookahead judge by what precedes the start. A
  // search that exceeds the engine's work limit ends the list. None without a pattern, or
  // when `subject` holds a lone surrogate (text converted from code page 936 never does).
  std::vector<RegexGroups> Execute(std::u16string_view subject, bool global);

 protected:
  // The leftmost match that starts at or after `offset`; `subject` is known to be valid
  // UTF-16 and `offset` to be at most its length.
  virtual std::optional<RegexGroups> MatchFrom(std::u16string_view subject,
                                               std::size_t offset) = 0;
};

using RegexEngineFactory = std::function<std::unique_ptr<RegexEngine>()>;

// The PCRE2 engine (16-bit library, JIT where the machine has it). Null only when PCRE2 cannot
// set up its contexts, i.e. out of memory.
std::unique_ptr<RegexEngine> CreateRegexEngine();

}  // namespace lanzhou::platform
