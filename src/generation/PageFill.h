// Filling a page template with one article's values.
//
// The fill is defined step by step: the six title and link placeholders in a fixed order, each
// over the text the one before left, then the random slots pair by pair, then the body. So a
// value that holds a placeholder, or that forms one with the text around it, is filled by a
// later step. PageTemplate takes the template apart once per run and assembles each page in
// one pass over it whenever that cannot differ from the step-by-step fill: no value holds a
// "#" or ends in half a character, and every "#" of the template belongs to a placeholder with
// a byte between any two placeholders that no placeholder holds. Otherwise it fills step by
// step.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "generation/RunHost.h"

namespace lanzhou::generation {

struct PageValues {
  std::string_view currentLink;
  std::string_view previousLink;
  std::string_view nextLink;
  std::string_view currentTitle;
  std::string_view previousTitle;
  std::string_view nextTitle;
  const std::vector<std::string>& pickTitles;  // as many as the run's random slot count
  const std::vector<std::string>& pickLinks;
  std::string_view body;  // after the middle-content step
};

// The step-by-step fill. Events are processed after each pair of random slots.
std::string FillPageStepByStep(std::string_view pageTemplate, const PageValues& values,
                               RunHost* host);

class PageTemplate {
 public:
  explicit PageTemplate(std::string pageTemplate);

  // The page, with the same bytes and the same events as FillPageStepByStep.
  std::string Fill(const PageValues& values, RunHost* host) const;

  // Whether the template allows the one-pass fill at all (values decide the rest).
  bool OnePassTemplate() const { return onePass_; }

 private:
  enum class Slot : unsigned char {
    CurrentLink, PreviousLink, NextLink, CurrentTitle, PreviousTitle, NextTitle,
    RandomTitle, RandomLink, Content, End
  };
  // Literal text, then the slot that follows it (End after the last literal).
  struct Piece {
    std::size_t literalStart;
    std::size_t literalLength;
    Slot slot;
  };

  std::string text_;
  std::vector<Piece> pieces_;
  bool onePass_ = true;
};

}  // namespace lanzhou::generation
