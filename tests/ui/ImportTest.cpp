// Runs from the window: the import commands with their dialogs scripted, drops, the stop
// press, options edited during a run, the report's answers, and closing during a run.
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "FileBytes.h"
#include "GbkText.h"
#include "WindowFixture.h"

namespace lanzhou::testing {
namespace {

namespace fs = std::filesystem;

class ImportTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    articles_ = dir_.path() + "/articles";
    fs::create_directory(articles_);
    OpenWindow();
    fileButton_ = Find<QPushButton>("按钮文件导入");
    folderButton_ = Find<QPushButton>("按钮目录导入");
  }

  std::string Write(const std::string& name, const std::string& body) {
    const std::string path = articles_ + "/" + name;
    std::ofstream(path, std::ios::binary) << "<title>" << name << "</title><body>" << body << "</body>";
    return path;
  }
  std::vector<std::string> Articles(int n) {
    std::vector<std::string> paths;
    for (int i = 0; i < n; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%04d.txt", i);
      paths.push_back(Write(name, std::string(200, 'x') + std::to_string(i)));
    }
    return paths;
  }
  // Template 5 holds `text` and is the one filled.
  void UseTemplate(const QString& text) {
    Template(5)->setPlainText(text);
    Find<QTabWidget>("选择夹模板")->setCurrentIndex(4);
  }
  std::string OutputFolder() const { return articles_ + "/模板生成目录/"; }
  std::string Page(const std::string& name) const {
    const std::string path = OutputFolder() + name;
    return fs::exists(path) ? ReadBytes(path) : "<missing>";
  }
  // Runs `action` once, at the first event round after the run has shown a progress caption.
  void DuringRun(std::function<void()> action) {
    auto* timer = new QTimer(window_.get());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [this, timer, action] {
      if (!window_->windowTitle().startsWith(QStringLiteral("已处理 "))) return;
      timer->stop();
      action();
    });
    timer->start();
  }

  std::string articles_;
  QPushButton* fileButton_ = nullptr;
  QPushButton* folderButton_ = nullptr;
};

TEST_F(ImportTest, FileImportIsBusyUntilItsRunReturnsAndASecondPressStopsIt) {
  desktop_.files = Articles(600);
  QString busy, stopping, again;
  bool otherEnabled = true;
  DuringRun([&] {
    busy = fileButton_->text();
    otherEnabled = folderButton_->isEnabled();
    QTest::mouseClick(fileButton_, Qt::LeftButton);
    stopping = fileButton_->text();
    QTest::mouseClick(fileButton_, Qt::LeftButton);
    again = fileButton_->text();
  });
  QTest::mouseClick(fileButton_, Qt::LeftButton);

  EXPECT_EQ(desktop_.fileTitle, QStringLiteral("请选择文件："));
  EXPECT_EQ(desktop_.fileFilter, QStringLiteral("htm;html文件|*.htm;*.html|txt文件|*.txt|全部文件|*.*"));
  EXPECT_EQ(busy, QStringLiteral("正在初始化.."));
  EXPECT_FALSE(otherEnabled);
  EXPECT_EQ(stopping, QStringLiteral("正在停止..."));
  EXPECT_EQ(again, QStringLiteral("正在停止..."));
  ASSERT_TRUE(window_->LastResult());
  EXPECT_TRUE(window_->LastResult()->stopped);
  EXPECT_LT(window_->LastResult()->articles, 600u);
  EXPECT_EQ(desktop_.reports.size(), 1);
  EXPECT_EQ(fileButton_->text(), QStringLiteral("选择文件导入"));
  EXPECT_TRUE(folderButton_->isEnabled());
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("澄溪·岚舟 v1.21 - 问题反馈：lanzhou@example.org"));
}

TEST_F(ImportTest, FolderImportTakesTheFilesMatchingTheWildcardAndRemembersTheFolder) {
  Articles(300);  // enough for the run to hand the window a few event rounds
  Write("b.txt", "b");
  Write("a.TXT", "a");
  Write("c.htm", "c");
  fs::create_directory(articles_ + "/d.txt");
  Find<QLineEdit>("编辑框目录过滤")->setText(QStringLiteral("*.txt"));
  desktop_.folder = articles_;
  QString busy;
  bool otherEnabled = true;
  DuringRun([&] {
    busy = folderButton_->text();
    otherEnabled = fileButton_->isEnabled();
  });
  QTest::mouseClick(folderButton_, Qt::LeftButton);

  EXPECT_EQ(desktop_.folderTitle, QStringLiteral("请选择文件夹："));
  EXPECT_EQ(desktop_.folderOpenedAt, "");
  EXPECT_EQ(busy, QStringLiteral("正在初始化.."));
  EXPECT_FALSE(otherEnabled);
  ASSERT_TRUE(window_->LastResult());
  EXPECT_EQ(window_->LastResult()->articles, 302u);
  EXPECT_TRUE(fs::exists(OutputFolder() + "a.TXT"));
  EXPECT_TRUE(fs::exists(OutputFolder() + "b.txt"));
  EXPECT_FALSE(fs::exists(OutputFolder() + "c.htm"));
  EXPECT_EQ(folderButton_->text(), QStringLiteral(" 选择目录导入"));
  EXPECT_TRUE(fileButton_->isEnabled());

  desktop_.folder.clear();
  QTest::mouseClick(folderButton_, Qt::LeftButton);
  EXPECT_EQ(desktop_.folderOpenedAt, articles_);
}

TEST_F(ImportTest, CancelledDialogsChangeNothing) {
  QTest::mouseClick(fileButton_, Qt::LeftButton);
  ASSERT_TRUE(window_->LastResult());
  EXPECT_FALSE(window_->LastResult()->ran);
  QTest::mouseClick(folderButton_, Qt::LeftButton);
  EXPECT_EQ(desktop_.filePicks, 1);
  EXPECT_EQ(desktop_.folderPicks, 1);
  EXPECT_TRUE(desktop_.reports.isEmpty());
  EXPECT_TRUE(desktop_.informed.isEmpty());
  EXPECT_FALSE(fs::exists(OutputFolder()));
  EXPECT_EQ(fileButton_->text(), QStringLiteral("选择文件导入"));
  EXPECT_EQ(folderButton_->text(), QStringLiteral(" 选择目录导入"));
  EXPECT_TRUE(fileButton_->isEnabled() && folderButton_->isEnabled());
}

TEST_F(ImportTest, AFolderThatCannotBeListedIsNamedAndNothingRuns) {
  desktop_.folder = articles_ + "/gone";
  QTest::mouseClick(folderButton_, Qt::LeftButton);
  ASSERT_EQ(desktop_.informed.size(), 1);
  EXPECT_TRUE(desktop_.informed[0].startsWith(QStringLiteral("无法读取这个文件夹：")));
  EXPECT_TRUE(desktop_.informed[0].contains(QString::fromStdString(desktop_.folder)));
  EXPECT_FALSE(window_->LastResult());
  EXPECT_EQ(folderButton_->text(), QStringLiteral(" 选择目录导入"));
  EXPECT_TRUE(fileButton_->isEnabled());
}

TEST_F(ImportTest, DroppedFilesRunInTheOrderDropped) {
  const std::string a = Write("a.txt", "a");
  const std::string b = Write("b.txt", "b");
  UseTemplate(QStringLiteral("#上一篇链接#|#下一篇链接#"));
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(b)), QUrl::fromLocalFile(QString::fromStdString(a))});
  QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window_.get(), &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(window_.get(), &drop);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window_->LastResult().has_value(); }));
  EXPECT_EQ(Page("b.txt"), "#|a.txt");
  EXPECT_EQ(Page("a.txt"), "b.txt|#");
}

TEST_F(ImportTest, AnOptionChangedDuringARunTakesEffectFromTheNextArticle) {
  desktop_.files = Articles(400);
  UseTemplate(QStringLiteral("[#导入的文件内容#]"));
  DuringRun([&] { Find<QCheckBox>("选择框截取中间内容")->setChecked(false); });
  QTest::mouseClick(fileButton_, Qt::LeftButton);

  // Cut pages first, whole pages after, and never back.
  bool whole = false;
  for (const std::string& path : desktop_.files) {
    const std::string page = Page(fs::path(path).filename().string());
    const bool isWhole = page.find("<body>") != std::string::npos;
    EXPECT_FALSE(whole && !isWhole) << path;
    whole = isWhole;
  }
  EXPECT_EQ(Page("0000.txt").find("<body>"), std::string::npos);
  EXPECT_TRUE(whole);
}

TEST_F(ImportTest, ReportYesOpensTheFolderAndNoCopiesItsPath) {
  desktop_.files = {Write("a.txt", "a")};
  desktop_.answer = generation::Answer::Yes;
  QTest::mouseClick(fileButton_, Qt::LeftButton);
  ASSERT_EQ(desktop_.reports.size(), 1);
  EXPECT_TRUE(desktop_.reports[0].startsWith(QStringLiteral("耗时 ")));
  EXPECT_EQ(desktop_.openedFolders, std::vector<std::string>{OutputFolder()});

  desktop_.answer = generation::Answer::No;
  QGuiApplication::clipboard()->clear();
  QTest::mouseClick(fileButton_, Qt::LeftButton);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromStdString(OutputFolder()));
  EXPECT_EQ(desktop_.openedFolders.size(), 1u);
}

TEST_F(ImportTest, ReportDetailsNameEachFileThatFailedWithItsReason) {
  const std::string folderAsArticle = articles_ + "/d.txt";
  fs::create_directory(folderAsArticle);
  desktop_.files = {Write("a.txt", "a"), folderAsArticle};
  QTest::mouseClick(fileButton_, Qt::LeftButton);
  ASSERT_EQ(desktop_.reportDetails.size(), 1);
  const QStringList lines = desktop_.reportDetails[0].split(QLatin1Char('\n'));
  EXPECT_EQ(lines[0], QStringLiteral("未能读取或写入的文件："));
  ASSERT_GE(lines.size(), 2);
  EXPECT_TRUE(lines[1].startsWith(QString::fromStdString(folderAsArticle) + QStringLiteral(": "))) << lines[1].toStdString();
  EXPECT_GT(lines[1].size(), static_cast<qsizetype>(folderAsArticle.size() + 2));  // a reason

  // A run without failures has no details.
  desktop_.files = {articles_ + "/a.txt"};
  QTest::mouseClick(fileButton_, Qt::LeftButton);
  EXPECT_EQ(desktop_.reportDetails.value(1), QString());
}

TEST_F(ImportTest, ClosingDuringARunSavesStopsAndClosesOnceTheRunHasReturned) {
  desktop_.files = Articles(600);
  bool visibleAfterClose = true;
  DuringRun([&] {
    window_->close();
    visibleAfterClose = window_->isVisible();
  });
  QTest::mouseClick(fileButton_, Qt::LeftButton);

  EXPECT_FALSE(visibleAfterClose);
  EXPECT_TRUE(fs::exists(dir_.path() + "/settings.ini"));
  ASSERT_TRUE(window_->LastResult());
  EXPECT_TRUE(window_->LastResult()->stopped);
  EXPECT_TRUE(desktop_.reports.isEmpty());  // nobody is left to read it
  QTest::qWait(20);
  EXPECT_FALSE(window_->isVisible());
  window_.reset();
}

}  // namespace
}  // namespace lanzhou::testing
