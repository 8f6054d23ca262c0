// How a run reaches whoever started it: the window, or the command line. The run never talks
// to a window or a terminal itself.
//
// Re-entrancy. The run happens on the window's own thread, inside the click handler that
// started it, and calls ProcessEvents at fixed points (after each article load, after each
// random pick, at the end of each article, and inside the searches of its start). Whatever the
// window does then runs nested inside the run. What may happen there, and what the run
// guarantees:
//  - An option edit. The run keeps no reference into the settings view: each read copies the
//    value out, so an edit takes effect at the option's next read and never changes a text the
//    run is already using. Read once, at the start: the selected template and its text, the
//    number of random slots, the page size and the title-rewriting pattern. Read at every
//    article load: title source, first-line strip, extension, encoding, plain replacement
//    lists. Read per article: the middle-content options and whether an index entry is added.
//  - A stop press. The host raises its stop request; the run asks StopRequested after every
//    article and then ends as a finished run does: caption restored, report, index page
//    finished. A press handled during article k stops the run after article k.
//  - A save of the settings. The run writes no settings file, so a save may come at any point.
//  - A request to close the window. The host must keep the settings view's controls, itself
//    and the article list alive until RunGeneration returns: it answers StopRequested with
//    true from then on, and may answer AskCompletion with Cancel without asking anyone. The
//    run touches nothing else of the window.
//  - Not allowed: a second run on the same host (the window disables the other import button
//    and turns a press on the busy one into a stop request), or a change to the article list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generation/RunFailure.h"

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
  // The files the run could not read or write, each with its reason, just before the report
  // when there are any: a window shows them with the report. Nothing by default.
  virtual void NoteFailures(const RunFailures& failures) { static_cast<void>(failures); }
  // The completion report (GBK text) and the user's answer.
  virtual Answer AskCompletion(std::string_view report) = 0;
  // The report's Yes and No: `folderText` is the folder as the system spells it (GBK),
  // `folderNative` as the OS does.
  virtual void OpenFolder(std::string_view folderText, const std::string& folderNative) = 0;
  virtual void CopyToClipboard(std::string_view folderText, const std::string& folderNative) = 0;
};

}  // namespace lanzhou::generation
