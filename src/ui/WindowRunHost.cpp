#include "ui/WindowRunHost.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include "text/GbkLiterals.h"
#include "ui/UiText.h"

namespace lanzhou::ui {

WindowRunHost::WindowRunHost(QWidget& window, const platform::Codec& codec, Desktop& desktop,
                             const State& state, QString restCaption)
    : window_(window),
      codec_(codec),
      desktop_(desktop),
      state_(state),
      restCaption_(std::move(restCaption)) {
  sinceEvents_.start();
  sinceCaption_.invalidate();
}

void WindowRunHost::ShowProgress(std::size_t i, std::size_t n, std::string_view caption) {
  const bool last = i >= n;
  if (!last && sinceCaption_.isValid() && sinceCaption_.elapsed() < kCaptionInterval) return;
  window_.setWindowTitle(ToQt(codec_, caption));
  sinceCaption_.start();
}

void WindowRunHost::RestoreCaption() { window_.setWindowTitle(restCaption_); }

void WindowRunHost::ProcessEvents() {
  if (sinceEvents_.elapsed() < kEventInterval) return;
  QCoreApplication::processEvents();
  sinceEvents_.start();
}

bool WindowRunHost::StopRequested() { return state_.stop; }

void WindowRunHost::NoteFailures(const generation::RunFailures& failures) {
  details_ = ToQt(codec_, text::kReportFailuresHeading);
  for (const generation::RunFailure& f : failures) {
    details_ += QLatin1Char('\n') + NativeToQt(f.path) + QStringLiteral(": ") + ToQt(codec_, f.reason);
  }
}

generation::Answer WindowRunHost::AskCompletion(std::string_view report) {
  // The user closed the window during the run: no report comes up after it has gone.
  if (state_.closing) return generation::Answer::Cancel;
  return desktop_.AskCompletion(&window_, CrLfToLf(ToQt(codec_, report)), details_);
}

void WindowRunHost::OpenFolder(std::string_view, const std::string& folderNative) {
  // Nothing to add when no file manager starts: the report already named the folder.
  std::ignore = desktop_.OpenFolder(folderNative);
}

void WindowRunHost::CopyToClipboard(std::string_view, const std::string& folderNative) {
  // The OS spelling, so that what the user pastes into a file manager or a shell opens.
  QGuiApplication::clipboard()->setText(NativeToQt(folderNative));
}

}  // namespace lanzhou::ui
