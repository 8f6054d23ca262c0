// A Desktop that answers from a script and records what the window asked, so no dialog or
// message box ever waits for a person.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Desktop.h"

namespace lanzhou::testing {

class ScriptedDesktop final : public ui::Desktop {
 public:
  std::vector<std::string> files;          // what the file dialog gives
  std::string folder;                      // what the folder dialog gives
  generation::Answer answer = generation::Answer::Cancel;
  bool confirm = false;
  std::function<void()> whilePickingFiles;  // runs while the file dialog would be open

  int filePicks = 0, folderPicks = 0;
  QString fileTitle, fileFilter, folderTitle;
  std::string folderOpenedAt;              // the folder dialog's starting folder
  QStringList informed, reports, reportDetails, questions;
  QStringList urls;
  std::vector<std::string> openedFolders;

  std::vector<std::string> PickFiles(QWidget*, const QString& title, const QString& filter) override {
    ++filePicks;
    fileTitle = title;
    fileFilter = filter;
    if (whilePickingFiles) whilePickingFiles();
    return files;
  }
  std::string PickFolder(QWidget*, const QString& title, const std::string& initial) override {
    ++folderPicks;
    folderTitle = title;
    folderOpenedAt = initial;
    return folder;
  }
  void Inform(QWidget*, const QString& text, const QString&) override { informed << text; }
  generation::Answer AskCompletion(QWidget*, const QString& text, const QString& details) override {
    reports << text;
    reportDetails << details;
    return answer;
  }
  bool Confirm(QWidget*, const QString& text) override {
    questions << text;
    return confirm;
  }
  bool OpenInBrowser(const QString& address) override {
    urls << address;
    return true;
  }
  bool OpenFolder(const std::string& f) override {
    openedFolders.push_back(f);
    return true;
  }
};

}  // namespace lanzhou::testing
