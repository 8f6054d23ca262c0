// The run's host on a terminal: a progress line on stderr, the report on stdout, and the
// report's answer decided up front by --open / --copy-path.
#pragma once

#include <iosfwd>
#include <string>

#include "generation/RunHost.h"
#include "platform/Codec.h"

namespace lanzhou::cli {

class ConsoleRunHost final : public generation::RunHost {
 public:
  struct Options {
    bool progress = false;  // draw the progress line (stderr is a terminal and not --quiet)
    generation::Answer answer = generation::Answer::Cancel;
  };
  ConsoleRunHost(const platform::Codec& codec, std::ostream& out, std::ostream& err,
                 Options options);

  void ShowProgress(std::size_t i, std::size_t n, std::string_view caption) override;
  void RestoreCaption() override;
  void ProcessEvents() override {}
  bool StopRequested() override;
  generation::Answer AskCompletion(std::string_view report) override;
  void OpenFolder(std::string_view folderText, const std::string& folderNative) override;
  void CopyToClipboard(std::string_view folderText, const std::string& folderNative) override;

  // Ctrl-C raises the stop request instead of killing the run, so the report is still shown
  // and the last index page finished; a second Ctrl-C ends the program.
  static void InstallInterruptHandler();

 private:
  const platform::Codec& codec_;
  std::ostream& out_;
  std::ostream& err_;
  Options options_;
  bool lineDrawn_ = false;
};

}  // namespace lanzhou::cli
