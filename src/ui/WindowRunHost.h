// The run's host in the window: the progress caption, the window's pending events, the stop
// request, the completion report and its Yes and No.
//
// A run hands control back here after every step. Doing the full round of window events each
// time would cost more than the pages themselves, so a round is skipped when the last one was
// less than kEventInterval ago, and the caption is repainted at most every kCaptionInterval
// (the last article's caption always). A stop press is seen at the next round, at most
// kEventInterval after it arrives, and the run ends at its next check.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <tuple>

#include "generation/RunHost.h"
#include "platform/Codec.h"
#include "ui/Desktop.h"

namespace lanzhou::ui {

class WindowRunHost final : public generation::RunHost {
 public:
  static constexpr qint64 kEventInterval = 10;    // ms
  static constexpr qint64 kCaptionInterval = 33;  // ms: about 30 captions a second

  struct State {
    bool stop = false;     // raised by a press on the busy import button or by closing
    bool closing = false;  // the window waits for the run to end before it closes
  };

  // `window`'s caption shows the progress; `restCaption` is its caption at rest. `state` is
  // read at every check, so a press or a close during the run reaches it.
  WindowRunHost(QWidget& window, const platform::Codec& codec, Desktop& desktop,
                const State& state, QString restCaption);

  void ShowProgress(std::size_t i, std::size_t n, std::string_view caption) override;
  void RestoreCaption() override;
  void ProcessEvents() override;
  bool StopRequested() override;
  // Kept for the report's details: one line per file, its path and the reason.
  void NoteFailures(const generation::RunFailures& failures) override;
  generation::Answer AskCompletion(std::string_view report) override;
  void OpenFolder(std::string_view folderText, const std::string& folderNative) override;
  void CopyToClipboard(std::string_view folderText, const std::string& folderNative) override;

 private:
  QWidget& window_;
  const platform::Codec& codec_;
  Desktop& desktop_;
  const State& state_;
  QString restCaption_;
  QString details_;
  QElapsedTimer sinceEvents_;
  QElapsedTimer sinceCaption_;
};

}  // namespace lanzhou::ui
