// The program's regular-expression object: a pattern and three options over the regex engine,
// with match lists, replacement, a test and three escaping helpers. Title rewriting uses
// SetPattern at the start of a run and ReplaceText for every title; the rest is offered for
// completeness.
//
//   RegexObject re(codec);
//   re.SetPattern("(.+)[_-].*");              // ignore case, multiline, global: all on
//   re.ReplaceText(gbk("标题_站点"), "$1");    // -> gbk("标题")
//
// Every text in and out is code page 936; the engine sees UTF-16, so "." takes a Chinese
// character whole and lengths from the engine count UTF-16 units. Match and sub-match numbers
// count from 1. Nothing throws: without an engine, with a pattern the engine rejected, or with
// a number out of range, a call gives the empty text, 0 or false.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Codec.h"
#include "platform/RegexEngine.h"

namespace lanzhou::titles {

class RegexObject {
 public:
  // Bits of `options`.
  static constexpr int kIgnoreCase = 1;
  static constexpr int kMultiline = 2;
  static constexpr int kGlobal = 4;

  // Asks `factory` for the engine at most twice; when both fail the object stays usable
  // without one. `codec` must outlive the object.
  explicit RegexObject(const platform::Codec& codec,
                       const platform::RegexEngineFactory& factory = platform::CreateRegexEngine);
  virtual ~RegexObject();
  // The same options and pattern, the same kept matches, and an engine of its own.
  virtual std::unique_ptr<RegexObject> Copy() const;

  // Sets the pattern and the options (each flag switches its option off). Touches nothing
  // when both are as they were; an empty pattern keeps the current one. Always true.
  virtual bool SetPattern(std::string_view pattern, bool caseSensitive = false,
                          bool singleLine = false, bool firstMatchOnly = false);
  // Finds the matches in `subject` (only the first unless global) and keeps them for the
  // match accessors; returns how many.
  virtual long ExecuteText(std::string_view subject);
  virtual long SetPatternAndExecute(std::string_view pattern, std::string_view subject,
                                    bool caseSensitive = false, bool singleLine = false,
                                    bool firstMatchOnly = false);
  virtual long MatchCount() const;
  // Sub-match 0 or less: the whole match; otherwise that group. Nothing when the group took
  // no part or either number is out of range.
  virtual std::optional<std::u16string> MatchValue(long match, long subMatch) const;
  virtual std::string MatchText(long match, long subMatch) const;
  virtual std::string SubMatchText(long match, long subMatch) const;
  // `subject` with the matches of the pattern replaced by `replacement` ("$1" for group 1, see
  // RegexReplace.h). With `pattern` given, SetPattern(pattern, flags...) first.
  virtual std::string ReplaceText(std::string_view subject, std::string_view replacement,
                                  std::optional<std::string_view> pattern = std::nullopt,
                                  bool caseSensitive = false, bool singleLine = false,
                                  bool firstMatchOnly = false);
  virtual bool TestText(std::string_view subject);
  virtual std::string GetPattern() const;
  // The groups of the pattern, read from the first kept match (0 without one).
  virtual long SubMatchCount() const;
  // Sub-match above 0: that group's length, else the match's, in UTF-16 units.
  virtual long MatchLength(long match, long subMatch = 0) const;
  // The same, in bytes of code page 936.
  virtual long MatchByteLength(long match, long subMatch) const;
  // SetPattern with each flag negated: here true switches the option on.
  virtual bool SetPatternWithOptions(std::string_view pattern, bool ignoreCase = true,
                                     bool multiline = true, bool global = true);
  virtual long GetMatchCount() const;
  virtual std::string PatternText() const;
  // A file wildcard as a pattern: "*.txt" -> ".*\.txt", "?" -> ".?"; "|" stays alternation.
  virtual std::string WildcardToPattern(std::string_view text) const;
  // A pattern that matches `text` literally.
  virtual std::string EscapeAll(std::string_view text) const;
  // The same, but "|" stays alternation.
  virtual std::string EscapeKeepAlternation(std::string_view text) const;

  // Whether an engine could be created.
  bool HasEngine() const { return engine_ != nullptr; }
  // Whether the engine refused the pattern last given to it; replacement and matching then
  // give empty results until a pattern it accepts is set.
  bool PatternRejected() const { return rejected_; }

 protected:
  RegexObject(const RegexObject& other) = default;

 private:
  // What ExecuteText found: the subject as the engine saw it, and the spans in it.
  struct MatchList {
    std::u16string subject;
    std::vector<platform::RegexGroups> matches;
  };

  RegexObject& operator=(const RegexObject&) = delete;
  // The span of (match, sub-match), when both are in range.
  std::optional<platform::RegexSpan> SpanOf(long match, long subMatch) const;
  // Whether the engine holds a usable pattern.
  bool CanMatch() const { return engine_ && !rejected_ && !pattern_.empty(); }
  void CreateEngine();

  const platform::Codec* codec_;
  platform::RegexEngineFactory factory_;
  std::shared_ptr<platform::RegexEngine> engine_;
  std::shared_ptr<const MatchList> matches_;
  int options_ = 0;
  std::string pattern_;
  bool rejected_ = false;
};

}  // namespace lanzhou::titles
