// The random placeholders of a page, filled from the picks of that page.
#pragma once

#include <string>
#include <vector>

#include "generation/RunHost.h"

namespace lanzhou::generation {

// For k = 1..picks: the first remaining "#随机篇标题#" gets title k, then the first remaining
// "#随机篇链接#" gets link k. A placeholder inside an inserted text is filled by a later step
// like the template's own. `host`'s events are processed after each pair.
void FillRandomPlaceholders(std::string& page, const std::vector<std::string>& titles,
                            const std::vector<std::string>& links, RunHost* host);

}  // namespace lanzhou::generation
