#include "generation/PageFill.h"

#include <algorithm>
#include <utility>

#include "generation/RandomFill.h"
#include "text/Gbk.h"
#include "text/GbkLiterals.h"

namespace lanzhou::generation {
namespace {

namespace lit = lanzhou::text;

// A value is safe for the one-pass fill when it cannot form a placeholder (every placeholder
// begins and ends with "#") and ends on a character boundary (a lead byte at its end would take
// the template's next byte as its second, and hide a placeholder that starts there).
bool SafeValue(std::string_view v) {
  std::size_t i = 0;
  while (i < v.size()) {
    if (v[i] == '#') return false;
    i += static_cast<unsigned char>(v[i]) >= 0x80 ? 2 : 1;
  }
  return i == v.size();
}

bool SafeValues(const PageValues& v) {
  for (std::string_view s : {v.currentLink, v.previousLink, v.nextLink, v.currentTitle,
                             v.previousTitle, v.nextTitle}) {
    if (!SafeValue(s)) return false;
  }
  for (const auto* list : {&v.pickTitles, &v.pickLinks}) {
    for (const auto& s : *list) {
      if (!SafeValue(s)) return false;
    }
  }
  return true;
}

}  // namespace

std::string FillPageStepByStep(std::string_view pageTemplate, const PageValues& v,
                               RunHost* host) {
  std::string page = lit::ReplaceAll(pageTemplate, lit::kPhCurrentLink, v.currentLink);
  page = lit::ReplaceAll(page, lit::kPhPreviousLink, v.previousLink);
  page = lit::ReplaceAll(page, lit::kPhNextLink, v.nextLink);
  page = lit::ReplaceAll(page, lit::kPhCurrentTitle, v.currentTitle);
  page = lit::ReplaceAll(page, lit::kPhPreviousTitle, v.previousTitle);
  page = lit::ReplaceAll(page, lit::kPhNextTitle, v.nextTitle);
  FillRandomPlaceholders(page, v.pickTitles, v.pickLinks, host);
  // The body goes in last, so placeholder texts inside an article stay as they are.
  return lit::ReplaceAll(page, lit::kPhContent, v.body);
}

PageTemplate::PageTemplate(std::string pageTemplate) : text_(std::move(pageTemplate)) {
  static constexpr std::pair<std::string_view, Slot> kSlots[] = {
      {lit::kPhCurrentLink, Slot::CurrentLink},     {lit::kPhPreviousLink, Slot::PreviousLink},
      {lit::kPhNextLink, Slot::NextLink},           {lit::kPhCurrentTitle, Slot::CurrentTitle},
      {lit::kPhPreviousTitle, Slot::PreviousTitle}, {lit::kPhNextTitle, Slot::NextTitle},
      {lit::kPhRandomTitle, Slot::RandomTitle},     {lit::kPhRandomLink, Slot::RandomLink},
      {lit::kPhContent, Slot::Content}};
  const std::string_view t = text_;
  std::size_t literal = 0;
  std::size_t slots = 0;
  for (std::size_t i = 0; i < t.size();) {
    if (t[i] == '#') {
      const auto* hit = std::find_if(std::begin(kSlots), std::end(kSlots),
                                     [&](const auto& s) { return t.substr(i).starts_with(s.first); });
      if (hit != std::end(kSlots)) {
        // Between two placeholders a byte below 0x40 (no placeholder holds one) keeps the text
        // between them, and any value put there, from forming a placeholder with their "#"s.
        const std::string_view between = t.substr(literal, i - literal);
        if (slots > 0 && std::none_of(between.begin(), between.end(),
                                      [](char c) { return static_cast<unsigned char>(c) < 0x40; })) {
          onePass_ = false;
        }
        pieces_.push_back({literal, i - literal, hit->second});
        ++slots;
        i += hit->first.size();
        literal = i;
        continue;
      }
    }
    i += lit::CharLength(t, i);
  }
  pieces_.push_back({literal, t.size() - literal, Slot::End});
  // Every "#" must be a placeholder's, or a step could find one the template parse did not.
  if (static_cast<std::size_t>(std::count(t.begin(), t.end(), '#')) != 2 * slots) onePass_ = false;
}

std::string PageTemplate::Fill(const PageValues& v, RunHost* host) const {
  if (!onePass_ || !SafeValues(v)) return FillPageStepByStep(text_, v, host);
  std::size_t randomTitle = 0;
  std::size_t randomLink = 0;
  // A random slot beyond the picks keeps its placeholder, as the pair-by-pair fill leaves it.
  auto valueOf = [&](Slot slot) -> std::string_view {
    switch (slot) {
      case Slot::CurrentLink: return v.currentLink;
      case Slot::PreviousLink: return v.previousLink;
      case Slot::NextLink: return v.nextLink;
      case Slot::CurrentTitle: return v.currentTitle;
      case Slot::PreviousTitle: return v.previousTitle;
      case Slot::NextTitle: return v.nextTitle;
      case Slot::RandomTitle:
        return randomTitle < v.pickTitles.size() ? std::string_view(v.pickTitles[randomTitle++])
                                                 : lit::kPhRandomTitle;
      case Slot::RandomLink:
        return randomLink < v.pickLinks.size() ? std::string_view(v.pickLinks[randomLink++])
                                               : lit::kPhRandomLink;
      case Slot::Content: return v.body;
      case Slot::End: break;
    }
    return {};
  };
  std::size_t size = 0;
  for (const Piece& p : pieces_) size += p.literalLength + valueOf(p.slot).size();
  randomTitle = randomLink = 0;
  std::string page;
  page.reserve(size);
  for (const Piece& p : pieces_) {
    page.append(text_, p.literalStart, p.literalLength);
    page.append(valueOf(p.slot));
  }
  // The same pauses for the window as the pair-by-pair random fill makes.
  for (std::size_t k = 0; k < v.pickTitles.size() && host != nullptr; ++k) host->ProcessEvents();
  return page;
}

}  // namespace lanzhou::generation
