// The window's import commands, drops, and closing while a run is active.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <cerrno>

#include "settings/ControlSettings.h"
#include "text/GbkLiterals.h"
#include "ui/MainWindow.h"
#include "ui/UiText.h"

namespace lanzhou::ui {

void MainWindow::RaiseStop(QPushButton* button) {
  runState_.stop = true;
  button->setText(stoppingCaption_);
}

void MainWindow::ImportFiles() {
  if (fileButton_->text() != fileIdle_) {
    RaiseStop(fileButton_);
    return;
  }
  FileImport(nullptr);
}

void MainWindow::ImportDroppedFiles(std::vector<std::string> files) {
  if (busy_) return;
  FileImport(&files);
}

void MainWindow::FileImport(const std::vector<std::string>* dropped) {
  busy_ = true;
  fileButton_->setText(busyCaption_);
  runState_.stop = false;
  folderButton_->setEnabled(false);
  // An empty list (a cancelled dialog) still goes to the run, which returns at once.
  Run(dropped ? *dropped
              : ctx_.desktop.PickFiles(this, Q(text::kFileDialogTitle), Q(text::kFileDialogFilter)));
  folderButton_->setEnabled(true);
  fileButton_->setText(fileIdle_);
  AfterImport();
}

void MainWindow::ImportFolder() {
  if (folderButton_->text() != folderIdle_) {
    RaiseStop(folderButton_);
    return;
  }
  if (busy_) return;
  const std::string folder = ctx_.desktop.PickFolder(this, Q(text::kFolderDialogTitle), lastFolder_);
  if (folder.empty()) return;
  lastFolder_ = folder;
  FolderImport(folder);
}

void MainWindow::ImportDroppedFolder(const std::string& folder) {
  if (busy_) return;
  FolderImport(folder);
}

void MainWindow::FolderImport(const std::string& folder) {
  busy_ = true;
  // The folder button keeps its idle caption while the folder is listed; the file button is
  // held back meanwhile, so no second run can start inside the listing.
  fileButton_->setEnabled(false);
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  errno = 0;
  const std::optional<std::vector<std::string>> files = ctx_.program.ListFolder(
      folder, live_->directoryFilter(), [&sinceEvents] {
        if (sinceEvents.elapsed() < WindowRunHost::kEventInterval) return;
        QCoreApplication::processEvents();
        sinceEvents.start();
      });
  if (!files) {
    const int error = errno;
    fileButton_->setEnabled(true);
    busy_ = false;
    ctx_.desktop.Inform(this, FailureText(text::kFolderUnreadable, folder, error));
    AfterImport();
    return;
  }
  folderButton_->setText(busyCaption_);
  runState_.stop = false;
  if (!closeAfterRun_) Run(*files);
  folderButton_->setText(folderIdle_);
  fileButton_->setEnabled(true);
  AfterImport();
}

void MainWindow::Run(const std::vector<std::string>& files) {
  WindowRunHost host(*this, codec(), ctx_.desktop, runState_, restCaption_);
  lastResult_ = ctx_.program.Run(ctx_.program.ArticlePathsOf(files), *live_, host);
}

void MainWindow::AfterImport() {
  busy_ = false;
  if (!closeAfterRun_) return;
  // The close was asked for during the run and the settings were saved then; now that the
  // run has returned, nothing of it touches the window any more.
  QTimer::singleShot(0, this, &QWidget::close);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closeAfterRun_) {
    event->accept();
    return;
  }
  if (!Save(true)) {
    event->ignore();
    return;
  }
  if (busy_) {
    // The run is nested in this window's event handling: let it stop at its next check and
    // close once it has returned.
    closeAfterRun_ = true;
    runState_.closing = true;
    runState_.stop = true;
    hide();
    event->ignore();
    return;
  }
  event->accept();
}

namespace {

// The local paths of a drop, in the order they were dropped; empty when any is not local.
QStringList LocalPaths(const QMimeData* mime) {
  QStringList paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) return {};
    paths << url.toLocalFile();
  }
  return paths;
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!busy_ && !LocalPaths(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList paths = LocalPaths(event->mimeData());
  if (busy_ || paths.isEmpty()) return;
  event->acceptProposedAction();
  // The run starts after the drop has been answered, so the program the files came from is
  // not kept waiting for the length of the run.
  if (paths.size() == 1 && QFileInfo(paths.front()).isDir()) {
    const std::string folder = QtToNative(paths.front());
    QTimer::singleShot(0, this, [this, folder] { ImportDroppedFolder(folder); });
    return;
  }
  std::vector<std::string> files;
  for (const QString& p : paths) {
    if (!QFileInfo(p).isDir()) files.push_back(QtToNative(p));
  }
  QTimer::singleShot(0, this, [this, files] { ImportDroppedFiles(files); });
}

}  // namespace lanzhou::ui
