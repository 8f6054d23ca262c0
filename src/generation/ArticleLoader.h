// Turns one article file into its title, page name and body.
//
// Every title and link a generated page shows, and every body put into a page, comes out of
// LoadArticle. It never fails: what cannot be read yields empty text (and is counted in
// `LoadStats` so the run can report it). Options are read as each step begins.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "generation/ArticleInfo.h"
#include "generation/GenerationSettings.h"
#include "generation/RunHost.h"
#include "generation/TitleRewriter.h"
#include "platform/Platform.h"

namespace lanzhou::generation {

// What the loader needs besides the settings.
struct LoaderContext {
  platform::Platform& platform;
  TitleRewriter* titles = nullptr;    // null: titles are never rewritten
  RunHost* host = nullptr;            // its events are processed after each first-line read
  std::size_t unreadable = 0;         // loads whose file could not be read
  std::string lastReadError = {};     // why the last of them could not be read
};

// What a load saw on its way, for a caller that keeps its title for later (the run's cache).
struct LoadNotes {
  std::string sourceTitle;     // the title as its source gave it, before any rewriting
  std::size_t lineEvents = 0;  // events processed while the first non-empty line was sought
};

ArticleInfo LoadArticle(const ArticlePath& path, const GenerationSettings& settings,
                        LoaderContext& ctx, LoadNotes* notes = nullptr);

// The title that `titleSource` gives an article whose text is `text`: the file's title, the
// "<title>" element's text (the file's title when that is empty), or the first non-empty line,
// whose line is then taken out of `text` when `removeLine` says so (asked only for a first
// line, as the option is read only where it is used). `lines` counts the lines read for it.
std::string SourceTitle(const ArticlePath& path, std::string& text, int titleSource,
                        const std::function<bool()>& removeLine, RunHost* host = nullptr,
                        std::size_t* lines = nullptr);

// The last two steps of every load: the page name of `path` into `info.pageName`, and
// `info.title` (the source's title) rewritten while `replaceTitle` reads true.
void NameAndRewrite(const ArticlePath& path, ArticleInfo& info, const GenerationSettings& settings,
                    LoaderContext& ctx);

// The file's bytes as code page 936 text. A byte-order mark of the chosen encoding is not
// content and is dropped; the text ends before its first NUL.
std::string DecodeArticleText(std::string_view bytes, int encoding, const platform::Codec& codec);
// The same, taking the bytes: code page 936 bytes become the text where they are, and the other
// encodings are converted a block at a time, so a file costs at most about twice its size.
std::string DecodeArticleText(std::string&& bytes, int encoding, const platform::Codec& codec);

// The part after the last "/" (the whole path when there is none).
std::string_view FileNameOf(std::string_view path);
// The file name up to its first "." ("a.b.txt" -> "a").
std::string_view FileTitleOf(std::string_view path);

struct FirstLineResult {
  std::string title;
  bool bodyChanged = false;
  std::size_t lines = 0;  // lines read; events were processed after each
};
// The first non-empty line (CR LF, LF; 0x1A ends the search), cut to 200 characters. With
// `removeLine`, the first occurrence of that title followed by a line end (CR LF or LF alone,
// whichever comes first) goes from `body`.
FirstLineResult FirstLineTitle(std::string& body, bool removeLine, RunHost* host = nullptr);

}  // namespace lanzhou::generation
