// One file a run could not read or write, or a page it wrote over another of its own pages.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lanzhou::generation {

struct RunFailure {
  std::string path;    // as the OS spells it
  std::string reason;  // GBK: the system's error text (ASCII, e.g. "No space left on device")
                       // or the run's own reason
};

using RunFailures = std::vector<RunFailure>;

// Everything a run could not do, counted by kind and named file by file.
struct FailureLog {
  RunFailures failures;
  std::size_t unwritten = 0;     // pages, index pages and the folder that were not written
  std::size_t unread = 0;        // articles that could not be read
  std::size_t replaced = 0;      // pages written over a page of the same run
  std::size_t articlePages = 0;  // of `unwritten`: pages not written because they are articles

  void Unwritten(std::string path, std::string reason) {
    ++unwritten;
    failures.push_back({std::move(path), std::move(reason)});
  }
  void Unread(std::string path, std::string reason) {
    ++unread;
    failures.push_back({std::move(path), std::move(reason)});
  }
  void Replaced(std::string path, std::string reason) {
    ++replaced;
    failures.push_back({std::move(path), std::move(reason)});
  }
  void ArticlePage(std::string path, std::string reason) {
    ++articlePages;
    Unwritten(std::move(path), std::move(reason));
  }
  bool Empty() const { return failures.empty(); }
};

}  // namespace lanzhou::generation
