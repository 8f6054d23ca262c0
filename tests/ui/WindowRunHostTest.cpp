#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEvent>
#include <QWidget>

#include "GbkText.h"
#include "ScriptedDesktop.h"
#include "ui/WindowRunHost.h"

namespace lanzhou::testing {
namespace {

class TitleChanges final : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::WindowTitleChange) ++count;
    return false;
  }
};

TEST(WindowRunHost, CaptionIsRepaintedAtMostAboutThirtyTimesASecondButAlwaysForTheLastArticle) {
  QWidget window;
  TitleChanges changes;
  window.installEventFilter(&changes);
  ScriptedDesktop desktop;
  ui::WindowRunHost::State state;
  ui::WindowRunHost host(window, TestCodec(), desktop, state, QStringLiteral("rest"));

  QElapsedTimer clock;
  clock.start();
  constexpr std::size_t n = 20000;
  for (std::size_t i = 1; i <= n; ++i) host.ShowProgress(i, n, G("已处理 " + std::to_string(i)));
  const qint64 ms = clock.elapsed();

  EXPECT_LE(changes.count, ms / ui::WindowRunHost::kCaptionInterval + 2);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("已处理 20000"));
  host.RestoreCaption();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("rest"));
}

}  // namespace
}  // namespace lanzhou::testing
