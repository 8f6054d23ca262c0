#include "titles/TitleRewriting.h"

#include "text/TextOps.h"

namespace lanzhou::titles {

void TitleRewriting::StartRun(const generation::GenerationSettings& settings) {
  regex_.SetPattern(settings.matchPattern());  // always true
  rejected_.reset();
  if (regex_.PatternRejected() && settings.replaceTitle() && settings.useRegex())
    rejected_ = regex_.GetPattern();
}

std::string TitleRewriting::RewriteTitle(std::string_view title,
                                         const generation::GenerationSettings& settings) {
  if (settings.useRegex()) {
    const std::string replacement = settings.replacementText();
    // The object gives empty text when it cannot replace; a title must never be lost to that.
    if (!regex_.HasEngine()) return std::string(title);
    if (regex_.PatternRejected()) {
      if (!rejected_) rejected_ = regex_.GetPattern();
      return std::string(title);
    }
    return regex_.ReplaceText(title, replacement);
  }
  return text::PairedReplace(title, settings.matchPattern(), settings.replacementText());
}

}  // namespace lanzhou::titles
