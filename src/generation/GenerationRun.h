// The page run: one page per article, filled from the selected template.
//
//   RunContext ctx{settings, platform, host};
//   RunResult r = RunGeneration(paths, ctx);   // pages in <folder of paths[0]>/模板生成目录/
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generation/ArticleInfo.h"
#include "generation/GenerationSettings.h"
#include "generation/RunFailure.h"
#include "generation/RunHost.h"
#include "generation/TitleRewriter.h"
#include "platform/Platform.h"

namespace lanzhou::generation {

struct RunContext {
  const GenerationSettings& settings;
  platform::Platform& platform;
  RunHost& host;
  TitleRewriter* titles = nullptr;      // null: titles are never rewritten
  std::optional<std::uint64_t> seed;    // random picks; none: seeded from the OS's entropy
  // Titles and page names are loaded once per run and reused, and pages are assembled in one
  // pass where that gives the same bytes. False loads every neighbour and pick anew and fills
  // step by step: the plain definition, against which tests check the fast path.
  bool reuseTitles = true;
};

// What became of a run, for callers that report it (the command line's exit status).
struct RunResult {
  bool ran = false;                   // false for an empty path list, or one with a relative path
  std::size_t articles = 0;           // articles whose page was attempted
  std::size_t writeFailures = 0;      // pages, index pages and the folder that could not be written
  std::size_t readFailures = 0;       // articles whose file could not be read
  std::size_t replacedPages = 0;      // pages written over a page of the same run
  std::vector<RunFailure> failures;   // each of the above by name, in the order met
  std::optional<std::string> rejectedPattern;  // the title pattern the engine rejected
  bool stopped = false;               // a stop request ended the article pass early
  std::string outputFolderText;       // GBK, ends in "/"
  std::string outputFolderNative;     // OS bytes, ends in "/"
  std::string report;                 // the completion report's text (GBK)
};

// Every path must be absolute: the output folder is made beside the first article, and a
// relative path would put it wherever the program happens to run. A list with a relative path
// is refused whole (nothing is written; `failures` names the paths).
RunResult RunGeneration(const ArticlePaths& paths, RunContext& ctx);

// Whether a run did everything: every article read, every page, index page and the folder
// written, no page replaced by another, no pattern rejected and no stop.
bool Complete(const RunResult& r);

// The text before the last "/" of a path; empty when there is none.
std::string_view ParentFolder(std::string_view path);
// Creates every missing folder of a path that ends in "/", left to right. The empty prefix of
// an absolute path (the root) is skipped, as is one that exists.
[[nodiscard]] bool CreateFolderChain(platform::FileSystem& fs, std::string_view folder);
// Non-overlapping occurrences, ASCII case ignored; `host`'s events are processed after each search.
std::size_t CountOccurrences(std::string_view text, std::string_view sought, RunHost* host = nullptr);
// A duration as the report shows it: "532 毫秒", "1.23 秒", "1 分" (GBK).
std::string DurationText(double milliseconds);
// Writes text bytes to a file, replacing it (or after its old bytes, with `append`).
[[nodiscard]] bool WriteTextToFile(platform::FileSystem& fs, std::string_view text,
                                   const std::string& path, bool append);

}  // namespace lanzhou::generation
