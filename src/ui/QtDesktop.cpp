#include "ui/QtDesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

#include "ui/UiText.h"

namespace lanzhou::ui {

QtDesktop::QtDesktop(QString messageCaption) : caption_(std::move(messageCaption)) {}

QStringList QtFileFilters(const QString& pairs) {
  const QStringList parts = pairs.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters;
}

std::vector<std::string> QtDesktop::PickFiles(QWidget* parent, const QString& title,
                                              const QString& filter) {
  QFileDialog dialog(parent, title);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilters(QtFileFilters(filter));
  std::vector<std::string> paths;
  if (dialog.exec() != QDialog::Accepted) return paths;
  for (const QString& f : dialog.selectedFiles()) paths.push_back(QtToNative(f));
  return paths;
}

std::string QtDesktop::PickFolder(QWidget* parent, const QString& title,
                                  const std::string& initialFolder) {
  const QString chosen = QFileDialog::getExistingDirectory(parent, title, NativeToQt(initialFolder));
  return QtToNative(chosen.trimmed());
}

void QtDesktop::Inform(QWidget* parent, const QString& text, const QString& details) {
  QMessageBox box(QMessageBox::NoIcon, caption_, text, QMessageBox::Ok, parent);
  if (!details.isEmpty()) box.setDetailedText(details);
  box.exec();
}

generation::Answer QtDesktop::AskCompletion(QWidget* parent, const QString& text,
                                            const QString& details) {
  QMessageBox box(QMessageBox::NoIcon, caption_, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  if (!details.isEmpty()) box.setDetailedText(details);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return generation::Answer::Yes;
    case QMessageBox::No:
      return generation::Answer::No;
    default:
      return generation::Answer::Cancel;
  }
}

bool QtDesktop::Confirm(QWidget* parent, const QString& text) {
  return QMessageBox::question(parent, caption_, text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

bool QtDesktop::OpenInBrowser(const QString& address) {
  return QDesktopServices::openUrl(QUrl(address));
}

bool QtDesktop::OpenFolder(const std::string& folder) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(NativeToQt(folder)));
}

}  // namespace lanzhou::ui
