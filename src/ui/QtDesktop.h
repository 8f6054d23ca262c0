// The real desktop: Qt's dialogs and message boxes, and the desktop's default handlers for
// web addresses and folders.
#pragma once

#include "ui/Desktop.h"

namespace lanzhou::ui {

class QtDesktop final : public Desktop {
 public:
  // `messageCaption` is the caption of every message box.
  explicit QtDesktop(QString messageCaption);

  std::vector<std::string> PickFiles(QWidget* parent, const QString& title,
                                     const QString& filter) override;
  std::string PickFolder(QWidget* parent, const QString& title,
                         const std::string& initialFolder) override;
  void Inform(QWidget* parent, const QString& text, const QString& details) override;
  generation::Answer AskCompletion(QWidget* parent, const QString& text,
                                   const QString& details) override;
  bool Confirm(QWidget* parent, const QString& text) override;
  bool OpenInBrowser(const QString& address) override;
  bool OpenFolder(const std::string& folder) override;

 private:
  QString caption_;
};

// "htm;html文件|*.htm;*.html|txt文件|*.txt" as Qt's filter list: "htm;html文件 (*.htm *.html)",
// "txt文件 (*.txt)". A description without its pattern is dropped.
QStringList QtFileFilters(const QString& pairs);

}  // namespace lanzhou::ui
