// The article-list pages: "index.htm", "index_2.htm", ... in the output folder, each listing up
// to a page size of articles under a title taken from the template, with a pager of all pages.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "generation/PageGuard.h"
#include "generation/RunFailure.h"
#include "platform/Platform.h"

namespace lanzhou::generation {

class IndexWriter {
 public:
  // `folderNative` ends in "/"; `templateText` gives the list title; `articleCount` N. Pages
  // that cannot be written, or that replace a page of the run, go to `log`; `guard`, when
  // given, keeps the pages off the run's articles.
  IndexWriter(platform::FileSystem& files, std::string folderNative, std::string_view templateText,
              std::size_t articleCount, int pageSize, FailureLog& log, PageGuard* guard = nullptr);

  // The pager linking all ceil(N / page size) pages; only called when N > page size.
  void BuildPager();
  // Creates the file of the current page number and writes its header.
  void StartPage();
  // Article i's entry (1-based); a full page is finished and, unless i is the last, the next
  // one started.
  void AddEntry(std::string_view title, std::string_view pageName, std::size_t i);
  // The pager and the footer, then closes the page.
  void FinishPage();
  // Closes an open page as it stands, without a footer (the index was switched off mid-run).
  void ClosePage();

  bool PageOpen() const { return page_ != nullptr; }

  // The file name of index page p: "index.htm", "index_2.htm", ...
  static std::string PageFileName(int p);

 private:
  void Write(std::string_view bytes);
  std::string PagePath() const { return folder_ + PageFileName(pageNumber_); }

  platform::FileSystem& files_;
  std::string folder_;
  std::string listTitle_;  // the template's <title> text, "#本篇标题#" still in it
  std::size_t articleCount_;
  int pageSize_;
  std::string pager_;
  int pageNumber_ = 1;
  int entryCount_ = 0;
  std::unique_ptr<platform::OutputFile> page_;
  bool pageOk_ = true;
  FailureLog& log_;
  PageGuard* guard_;
};

}  // namespace lanzhou::generation
