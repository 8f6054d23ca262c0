// lanzhou-gen: the page run without a window.
//
//   lanzhou-gen [OPTIONS] FILE...        the files, in the order given
//   lanzhou-gen [OPTIONS] --dir DIR      the folder's files that match --filter
//
// Exit status: 0 done; 1 some page, index page or the output folder could not be written, or
// the title pattern was rejected; 2 bad usage (one line on stderr).
#pragma once

#include <iosfwd>

namespace lanzhou::cli {

int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace lanzhou::cli
