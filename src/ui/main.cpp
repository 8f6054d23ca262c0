#include <QApplication>
#include <QMessageBox>

#include "program/Program.h"
#include "text/GbkLiterals.h"
#include "ui/MainWindow.h"
#include "ui/QtDesktop.h"
#include "ui/UiText.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("lanzhou"));
  QApplication::setDesktopFileName(QStringLiteral("lanzhou"));
  std::string error;
  auto program = lanzhou::program::Program::Start(error);
  if (!program) {
    QMessageBox::critical(nullptr, QStringLiteral("lanzhou"), QString::fromStdString(error));
    return 1;
  }
  lanzhou::ui::QtDesktop desktop(lanzhou::ui::ToQt(program->codec(), lanzhou::text::kMessageCaption));
  lanzhou::ui::MainWindow window({*program, desktop});
  window.show();
  return QApplication::exec();
}
