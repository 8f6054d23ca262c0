// An article's title without its body: the loads of neighbours and random picks.
//
// It gives the title LoadArticle would give, reading no more of the file than the title source
// looks at: nothing for the file name, the text up to the first non-empty line, or up to the
// first "</title>" (all of it when there is none). A shorter read is taken only where its text
// is provably the start of the whole file's text: the start of a UTF-8 or UTF-16LE file is
// decoded only up to a character that nothing after it can change.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "generation/ArticleInfo.h"
#include "generation/ArticleLoader.h"
#include "generation/GenerationSettings.h"
#include "platform/Codec.h"

namespace lanzhou::generation {

// The title as the title source gives it, before rewriting; events are processed as
// LoadArticle processes them while it seeks a first line (`notes.lineEvents` counts them).
LoadNotes LoadSourceTitle(const ArticlePath& path, const GenerationSettings& settings,
                          LoaderContext& ctx);

// The code page 936 text of a file's first bytes, as far as it is certainly the start of the
// text of the whole file (DecodeArticleText). `whole` says the text is all of the file's text:
// the bytes were all of the file (`complete`), or the text ended at a NUL among them.
struct TextStart {
  std::string text;
  bool whole = false;
};
TextStart DecodeTextStart(std::string_view bytes, bool complete, int encoding,
                          const platform::Codec& codec);

// Whether the title that `titleSource` finds in the start of a text is certainly the one it
// finds in the whole text. FirstLine: the first non-empty line (or a 0x1A) ends within it;
// HtmlTitle: the first "<title>" and the "</title>" after it lie within it; FileName: always.
bool TitleIsWithin(std::string_view textStart, int titleSource);

}  // namespace lanzhou::generation
