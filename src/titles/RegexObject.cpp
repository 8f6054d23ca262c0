#include "titles/RegexObject.h"

#include "text/Gbk.h"
#include "titles/RegexReplace.h"

namespace lanzhou::titles {
namespace {

// The characters each escaping helper puts a backslash before; the backslash itself comes
// first so the ones inserted are not escaped again.
constexpr std::string_view kWildcardSpecials = "\\^$+.{}[]=()\"";
constexpr std::string_view kAllSpecials = "\\^$+.{}[]=()?*|\"";
constexpr std::string_view kSpecialsButBar = "\\^$+.{}[]=()?*\"";

// Escapes by characters: a two-byte character is copied whole even when its second byte
// looks like one of `specials`. With `wildcard`, "*" and "?" become ".*" and ".?".
std::string Escape(std::string_view text, std::string_view specials, bool wildcard) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = text::CharLength(text, i);
    const char c = text[i];
    if (n == 1 && specials.find(c) != std::string_view::npos) {
      out += '\\';
      out += c;
    } else if (n == 1 && wildcard && (c == '*' || c == '?')) {
      out += '.';
      out += c;
    } else {
      out.append(text.substr(i, n));
    }
    i += n;
  }
  return out;
}

}  // namespace

RegexObject::RegexObject(const platform::Codec& codec, const platform::RegexEngineFactory& factory)
    : codec_(&codec), factory_(factory) {
  CreateEngine();
}

RegexObject::~RegexObject() = default;

void RegexObject::CreateEngine() {
  // A second try, because a first failure can be passing; after that the object works
  // without an engine and gives empty results.
  for (int attempt = 0; attempt < 2 && !engine_ && factory_; ++attempt) engine_ = factory_();
}

std::unique_ptr<RegexObject> RegexObject::Copy() const {
  std::unique_ptr<RegexObject> copy(new RegexObject(*this));
  // An engine holds one compiled pattern: a shared one would let the copy's next pattern
  // change what the original matches. The copy compiles its own.
  copy->engine_.reset();
  copy->CreateEngine();
  if (copy->engine_ && !copy->pattern_.empty()) {
    copy->rejected_ = !copy->engine_->Compile(copy->codec_->GbkToUtf16(copy->pattern_),
                                              (copy->options_ & kIgnoreCase) != 0,
                                              (copy->options_ & kMultiline) != 0);
  }
  return copy;
}

bool RegexObject::SetPattern(std::string_view pattern, bool caseSensitive, bool singleLine,
                             bool firstMatchOnly) {
  const int options = (caseSensitive ? 0 : kIgnoreCase) | (singleLine ? 0 : kMultiline) |
                      (firstMatchOnly ? 0 : kGlobal);
  if (pattern == pattern_ && options == options_) return true;  // no engine work
  if (!pattern.empty()) pattern_ = pattern;
  options_ = options;
  // Without any pattern yet there is nothing to compile: the engine then matches nothing.
  if (engine_ && !pattern_.empty()) {
    rejected_ = !engine_->Compile(codec_->GbkToUtf16(pattern_), (options_ & kIgnoreCase) != 0,
                                  (options_ & kMultiline) != 0);
  }
  return true;
}

long RegexObject::ExecuteText(std::string_view subject) {
  matches_.reset();
  if (!CanMatch()) return 0;
  auto list = std::make_shared<MatchList>();
  list->subject = codec_->GbkToUtf16(subject);
  list->matches = engine_->Execute(list->subject, (options_ & kGlobal) != 0);
  matches_ = std::move(list);
  return MatchCount();
}

long RegexObject::SetPatternAndExecute(std::string_view pattern, std::string_view subject,
                                       bool caseSensitive, bool singleLine, bool firstMatchOnly) {
  if (!SetPattern(pattern, caseSensitive, singleLine, firstMatchOnly)) return 0;
  return ExecuteText(subject);
}

long RegexObject::MatchCount() const {
  return matches_ ? static_cast<long>(matches_->matches.size()) : 0;
}

std::optional<platform::RegexSpan> RegexObject::SpanOf(long match, long subMatch) const {
  if (!matches_ || match < 1 || match > MatchCount()) return std::nullopt;
  const auto& groups = matches_->matches[static_cast<std::size_t>(match - 1)];
  const std::size_t g = subMatch <= 0 ? 0 : static_cast<std::size_t>(subMatch);
  if (g >= groups.size()) return std::nullopt;
  return groups[g];
}

std::optional<std::u16string> RegexObject::MatchValue(long match, long subMatch) const {
  const auto span = SpanOf(match, subMatch);
  if (!span || !span->Matched()) return std::nullopt;
  return matches_->subject.substr(span->start, span->Length());
}

std::string RegexObject::MatchText(long match, long subMatch) const {
  const auto value = MatchValue(match, subMatch);
  return value ? codec_->Utf16ToGbk(*value) : std::string{};
}

std::string RegexObject::SubMatchText(long match, long subMatch) const {
  return MatchText(match, subMatch);
}

std::string RegexObject::ReplaceText(std::string_view subject, std::string_view replacement,
                                     std::optional<std::string_view> pattern, bool caseSensitive,
                                     bool singleLine, bool firstMatchOnly) {
  if (pattern) SetPattern(*pattern, caseSensitive, singleLine, firstMatchOnly);  // always true
  if (!engine_ || rejected_) return {};
  if (!CanMatch()) return std::string(subject);
  const std::u16string s = codec_->GbkToUtf16(subject);
  const auto found = engine_->Execute(s, (options_ & kGlobal) != 0);
  // Most titles are not touched: give their bytes back as they came, without a round trip.
  if (found.empty()) return std::string(subject);
  return codec_->Utf16ToGbk(ReplaceMatches(s, found, codec_->GbkToUtf16(replacement)));
}

bool RegexObject::TestText(std::string_view subject) {
  return CanMatch() && !engine_->Execute(codec_->GbkToUtf16(subject), false).empty();
}

std::string RegexObject::GetPattern() const { return pattern_; }

long RegexObject::SubMatchCount() const {
  if (!matches_ || matches_->matches.empty()) return 0;
  return static_cast<long>(matches_->matches.front().size()) - 1;
}

long RegexObject::MatchLength(long match, long subMatch) const {
  const auto span = SpanOf(match, subMatch);
  return span ? static_cast<long>(span->Length()) : 0;
}

long RegexObject::MatchByteLength(long match, long subMatch) const {
  return static_cast<long>(MatchText(match, subMatch).size());
}

bool RegexObject::SetPatternWithOptions(std::string_view pattern, bool ignoreCase, bool multiline,
                                        bool global) {
  return SetPattern(pattern, !ignoreCase, !multiline, !global);
}

long RegexObject::GetMatchCount() const { return MatchCount(); }

std::string RegexObject::PatternText() const { return GetPattern(); }

std::string RegexObject::WildcardToPattern(std::string_view text) const {
  return Escape(text, kWildcardSpecials, true);
}

std::string RegexObject::EscapeAll(std::string_view text) const {
  return Escape(text, kAllSpecials, false);
}

std::string RegexObject::EscapeKeepAlternation(std::string_view text) const {
  return Escape(text, kSpecialsButBar, false);
}

}  // namespace lanzhou::titles
