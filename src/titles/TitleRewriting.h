// Title rewriting: the last step of every article load while "replace title" is on.
//
// Regex mode rewrites with the pattern fixed when the run started (an edit to the pattern
// during a run waits for the next run) and the replacement text as it reads at each load.
// Plain mode is a paired replacement of "|"-separated lists, both read at each load.
//
// A title whose rewrite cannot be done stays as the title source gave it: when the engine
// rejected the run's pattern, RejectedPattern() names it so the run can tell the user once;
// when there is no engine at all, EngineAvailable() is false.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "generation/GenerationSettings.h"
#include "generation/TitleRewriter.h"
#include "titles/RegexObject.h"

namespace lanzhou::titles {

class TitleRewriting final : public generation::TitleRewriter {
 public:
  // `regex` is the program's one regex object; it must outlive this.
  explicit TitleRewriting(RegexObject& regex) : regex_(regex) {}

  // Gives the regex object the run's pattern (an empty one keeps the previous run's), with
  // ignore-case, multiline and global matching, whatever the mode.
  void StartRun(const generation::GenerationSettings& settings) override;
  std::string RewriteTitle(std::string_view title,
                           const generation::GenerationSettings& settings) override;
  // The run's pattern (GBK) when the engine rejected it and titles were, or were going to be,
  // rewritten with it: set by StartRun when the run starts with regex rewriting on, or by the
  // first regex rewrite that met it. Nothing in plain mode, where the pattern is a find list.
  std::optional<std::string> RejectedPattern() const override { return rejected_; }

  bool EngineAvailable() const { return regex_.HasEngine(); }

 private:
  RegexObject& regex_;
  std::optional<std::string> rejected_;
};

}  // namespace lanzhou::titles
