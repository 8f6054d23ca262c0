// Replacement by the scripting dialect's rules, over matches found by the regex engine.
//
//   ExpandReplacement(u"[$1]", u"ab", {{0, 2}, {0, 1}})  -> u"[a]"
//
// In the replacement text: "$$" is "$", "$&" the match, "$`" the text before it, "$'" the text
// after it, "$nn" (01-99) and "$n" (1-9) a group, two digits taken first when that group
// exists ("$10" with two groups is group 1 and "0"). A group that took no part is empty; any
// other "$" (as in "$0", "$5" without a group 5, or a final "$") is itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/RegexEngine.h"

namespace lanzhou::titles {

std::u16string ExpandReplacement(std::u16string_view replacement, std::u16string_view subject,
                                 const platform::RegexGroups& match);

// `subject` with each of `matches` (left to right, not overlapping, as the engine's Execute
// gives them) replaced by its expansion of `replacement`.
std::u16string ReplaceMatches(std::u16string_view subject,
                              const std::vector<platform::RegexGroups>& matches,
                              std::u16string_view replacement);

}  // namespace lanzhou::titles
