// How a run reaches whoever started it: the window, or the command line. The run never talks
// to a window or a terminal itself.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lanzhou::generation {

enum class Answer { Yes, No, Cancel };

class RunHost {
 public:
  virtual ~RunHost() = default;
  // After article i of n (1-based) is written; `caption` is the progress caption (GBK).
  virtual void ShowProgress(std::size_t i, std::size_t n, std::string_view caption) = 0;
  // The run is over: back to the caption at rest.
  virtual void RestoreCaption() = 0;
  // Let the window handle what is pending; option edits and stop presses arrive here.
  virtual void ProcessEvents() = 0;
  virtual bool StopRequested() = 0;
  // The completion report (GBK text) and the user's answer.
  virtual Answer AskCompletion(std::string_view report) = 0;
  // The report's Yes and No: `folderText` is the folder as the system spells it (GBK),
  // `folderNative` as the OS does.
  virtual void OpenFolder(std::string_view folderText, const std::string& folderNative) = 0;
  virtual void CopyToClipboard(std::string_view folderText, const std::string& folderNative) = 0;
};

}  // namespace lanzhou::generation
