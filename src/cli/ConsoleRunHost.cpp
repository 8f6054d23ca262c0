#include "cli/ConsoleRunHost.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>
#include <ostream>

#include "platform/Process.h"
#include "text/GbkLiterals.h"

namespace lanzhou::cli {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

void OnInterrupt(int) {
  if (gInterrupted) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
  }
  gInterrupted = 1;
}

std::string Bar(std::size_t i, std::size_t n) {
  constexpr std::size_t kWidth = 24;
  const std::size_t filled = n == 0 ? kWidth : i * kWidth / n;
  return "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "]";
}

// The caption cut to what fits on one terminal line, control characters as blanks: a line that
// wraps or breaks could no longer be redrawn in place. Wide characters count two columns.
std::string FitToLine(std::string_view utf8, std::size_t columns) {
  std::string out;
  std::size_t used = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t len = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    const std::size_t width = b < 0x80 ? 1 : 2;
    if (used + width > columns) break;
    if (b < 0x20 || b == 0x7F) {
      out.push_back(' ');
    } else {
      out.append(utf8.substr(i, len));
    }
    used += width;
    i += len;
  }
  return out;
}

std::size_t TerminalColumns() {
  winsize ws{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0) return ws.ws_col;
  return 80;
}

}  // namespace

ConsoleRunHost::ConsoleRunHost(const platform::Codec& codec, std::ostream& out,
                               std::ostream& err, Options options)
    : codec_(codec), out_(out), err_(err), options_(options) {}

void ConsoleRunHost::ShowProgress(std::size_t i, std::size_t n, std::string_view caption) {
  if (!options_.progress) return;
  // \r and "erase to end of line": one line updated in place.
  const std::string head = Bar(i, n) + ' ' + std::to_string(i) + '/' + std::to_string(n) + ' ';
  const std::size_t columns = TerminalColumns();
  const std::size_t room = columns > head.size() + 1 ? columns - head.size() - 1 : 0;
  err_ << "\r\x1b[K" << head << FitToLine(codec_.GbkToUtf8(caption), room) << std::flush;
  lineDrawn_ = true;
}

void ConsoleRunHost::RestoreCaption() {
  if (lineDrawn_) err_ << "\r\x1b[K" << std::flush;
  lineDrawn_ = false;
}

bool ConsoleRunHost::StopRequested() { return gInterrupted != 0; }

generation::Answer ConsoleRunHost::AskCompletion(std::string_view report) {
  // The question about the window's buttons means nothing here: --open and --copy-path answer.
  if (report.ends_with(text::kReportQuestion)) report.remove_suffix(text::kReportQuestion.size());
  const std::string utf8 = codec_.GbkToUtf8(report);
  // The report's lines end in CR LF for the window; a terminal wants LF.
  std::string lf;
  lf.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') continue;
    lf.push_back(utf8[i]);
  }
  out_ << lf << '\n' << std::flush;
  return options_.answer;
}

void ConsoleRunHost::OpenFolder(std::string_view, const std::string& folderNative) {
  if (!platform::OpenInFileManager(folderNative)) {
    err_ << "lanzhou-gen: could not start a file manager for " << folderNative << '\n';
  }
}

void ConsoleRunHost::CopyToClipboard(std::string_view, const std::string& folderNative) {
  // The OS spelling: what the user pastes into a shell or a file manager must open.
  if (!platform::CopyToDesktopClipboard(folderNative)) {
    err_ << "lanzhou-gen: no clipboard tool (wl-copy, xclip, xsel) could take the path\n";
  }
}

void ConsoleRunHost::InstallInterruptHandler() {
  gInterrupted = 0;
  std::signal(SIGINT, OnInterrupt);
}

}  // namespace lanzhou::cli
