// The same run from the window and from the command line's host, on one corpus: what the
// window's event rounds and caption cost on top of the pages.
//
//   build/default/bench/lanzhou-window-bench [ARTICLES=10000] [REPETITIONS=5]
//
// The window runs offscreen, its file dialog answered through the Desktop seam; the command
// line's run is lanzhou-gen's (ConsoleRunHost, quiet). Both write default template 1 with
// index pages, over existing pages after the first round. Prints each median and their ratio.
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bench/Corpus.h"
#include "cli/ConsoleRunHost.h"
#include "program/Program.h"
#include "settings/PlainSettings.h"
#include "ui/MainWindow.h"

namespace {

using namespace lanzhou;

class CorpusDesktop final : public ui::Desktop {
 public:
  std::vector<std::string> files;
  std::vector<std::string> PickFiles(QWidget*, const QString&, const QString&) override { return files; }
  std::string PickFolder(QWidget*, const QString&, const std::string&) override { return {}; }
  void Inform(QWidget*, const QString&, const QString&) override {}
  generation::Answer AskCompletion(QWidget*, const QString&, const QString&) override {
    return generation::Answer::Cancel;
  }
  bool Confirm(QWidget*, const QString&) override { return true; }
  bool OpenInBrowser(const QString&) override { return true; }
  bool OpenFolder(const std::string&) override { return true; }
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <typename F>
double TimeMs(F&& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::size_t articles = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000;
  const int repetitions = argc > 2 ? std::atoi(argv[2]) : 5;

  std::string root = (std::filesystem::temp_directory_path() / "lanzhou-wbench-XXXXXX").string();
  if (::mkdtemp(root.data()) == nullptr) return 1;
  std::string error;
  auto program = program::Program::Start(error, root + "/settings.ini");
  if (!program) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  bench::CorpusOptions options;
  options.articles = articles;
  const std::vector<std::string> files = bench::WriteCorpus(root + "/corpus", options, program->codec());
  const generation::ArticlePaths paths = program->ArticlePathsOf(files);

  settings::PlainSettings plain;
  plain.values.makeIndex = true;
  std::ostringstream out, err;
  cli::ConsoleRunHost console(program->codec(), out, err, {});

  CorpusDesktop desktop;
  desktop.files = files;
  ui::MainWindow window({*program, desktop});
  window.findChild<QCheckBox*>(QStringLiteral("选择框生成首页"))->setChecked(true);
  window.show();
  auto* button = window.findChild<QPushButton*>(QStringLiteral("按钮文件导入"));

  // One round of each first, so both time reruns over existing pages.
  program->Run(paths, plain, console);
  button->click();
  std::vector<double> cliMs, windowMs;
  for (int i = 0; i < repetitions; ++i) {
    cliMs.push_back(TimeMs([&] { program->Run(paths, plain, console); }));
    windowMs.push_back(TimeMs([&] { button->click(); }));
  }
  const double c = Median(cliMs), w = Median(windowMs);
  std::printf("%zu articles, median of %d: command line %.0f ms, window %.0f ms, window/command line %.2f\n",
              articles, repetitions, c, w, w / c);
  std::filesystem::remove_all(root);
  return window.LastResult() && window.LastResult()->articles == articles ? 0 : 1;
}
