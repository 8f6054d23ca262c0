// Everything the window asks of the desktop that a test must not meet for real: the modal
// dialogs, the message boxes, and starting a browser or a file manager. QtDesktop is the real
// one; the tests answer from a script.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "generation/RunHost.h"

class QWidget;

namespace lanzhou::ui {

class Desktop {
 public:
  virtual ~Desktop() = default;

  // The files chosen in a multi-select open dialog, as native paths in the order the dialog
  // gives them; empty when cancelled. `filter` is "description|pattern|..." pairs.
  virtual std::vector<std::string> PickFiles(QWidget* parent, const QString& title,
                                             const QString& filter) = 0;
  // A folder (native path), opening at `initialFolder` when that is not empty; empty when
  // cancelled.
  virtual std::string PickFolder(QWidget* parent, const QString& title,
                                 const std::string& initialFolder) = 0;
  // A message with only an OK button; `details` (may be empty) behind a details button.
  virtual void Inform(QWidget* parent, const QString& text, const QString& details = {}) = 0;
  // The completion report: Yes, No and Cancel, no icon.
  virtual generation::Answer AskCompletion(QWidget* parent, const QString& text,
                                           const QString& details) = 0;
  // A yes/no question; true for yes.
  virtual bool Confirm(QWidget* parent, const QString& text) = 0;
  // Opens a web address in the desktop's browser; false when nothing could be started.
  virtual bool OpenInBrowser(const QString& address) = 0;
  // Shows a folder (native path) in the desktop's file manager; false when nothing started.
  virtual bool OpenFolder(const std::string& folder) = 0;
};

}  // namespace lanzhou::ui
