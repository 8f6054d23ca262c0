// The seam through which title rewriting plugs into the loader and the run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "generation/GenerationSettings.h"

namespace lanzhou::generation {

class TitleRewriter {
 public:
  virtual ~TitleRewriter() = default;
  // At the start of every run, before the first article is loaded.
  virtual void StartRun(const GenerationSettings& settings) = 0;
  // The last step of every article load while `replaceTitle` reads true.
  virtual std::string RewriteTitle(std::string_view title, const GenerationSettings& settings) = 0;
  // The pattern of this run that the engine rejected, if any (titles then stay as they were).
  virtual std::optional<std::string> RejectedPattern() const = 0;
};

}  // namespace lanzhou::generation
