// The window itself: enablement, placeholders, the page-size box, settings across a restart,
// the save and load failure messages, the help text.
#include <QAccessible>
#include <QLabel>
#include <filesystem>

#include "FileBytes.h"
#include "GbkText.h"
#include "WindowFixture.h"
#include "ui/PictureBox.h"

namespace lanzhou::testing {
namespace {

class WindowTest : public WindowFixture {
 protected:
  // The enabled state of each governed control, in one line for readable failures.
  std::string EnabledStates() {
    std::string out;
    for (const char* name : {"选择框去掉首行", "选择框截取为空时返回原文", "编辑框左边内容",
                             "编辑框右边内容", "编辑框扩展名", "编辑框匹配式", "编辑框替换式",
                             "选择框使用正则", "编辑框分页"}) {
      out += Find<QWidget>(name)->isEnabled() ? '1' : '0';
    }
    return out;
  }
};

TEST_F(WindowTest, EnablementFollowsLoadedSettingsAndClicks) {
  struct Case {
    const char* what;
    const char* settings;              // UTF-8 lines of the settings file; null: none
    std::function<void(WindowTest&)> clicks;
    const char* enabled;               // in the order of EnabledStates
  };
  const Case cases[] = {
      {"defaults", nullptr, {}, "011100000"},
      {"all rules flipped by the file",
       "[基本配置]\r\n标题来源=2\r\n截取中间内容=假\r\n生成文件的扩展名：=真\r\n替换标题=真\r\n"
       "生成文章系统首页：=真\r\n",
       {}, "100011111"},
      {"clicks turn them on",
       nullptr,
       [](WindowTest& t) {
         t.Find<QComboBox>("组合框标题来源")->setCurrentIndex(2);
         for (const char* box : {"选择框截取中间内容", "选择框扩展名", "选择框替换标题", "选择框生成首页"}) {
           QTest::mouseClick(t.Find<QCheckBox>(box), Qt::LeftButton);
         }
       },
       "100011111"},
      {"title source back to the file name",
       "[基本配置]\r\n标题来源=2\r\n",
       [](WindowTest& t) { t.Find<QComboBox>("组合框标题来源")->setCurrentIndex(0); },
       "011100000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = dir_.path() + "/" + c.what + ".ini";
    if (c.settings) WriteBytes(file, G(c.settings));
    StartProgram(file);
    OpenWindow();
    if (c.clicks) c.clicks(*this);
    EXPECT_EQ(EnabledStates(), c.enabled);
  }
}

TEST_F(WindowTest, DisablingKeepsTextsAndCheckMarks) {
  OpenWindow();
  auto* replace = Find<QCheckBox>("选择框替换标题");
  auto* regex = Find<QCheckBox>("选择框使用正则");
  QTest::mouseClick(replace, Qt::LeftButton);
  Find<QLineEdit>("编辑框匹配式")->setText(QStringLiteral("x|y"));
  QTest::mouseClick(replace, Qt::LeftButton);
  EXPECT_FALSE(regex->isEnabled());
  EXPECT_TRUE(regex->isChecked());
  EXPECT_EQ(Find<QLineEdit>("编辑框匹配式")->text(), QStringLiteral("x|y"));
  // Disabled controls are read like enabled ones.
  EXPECT_EQ(window_->LiveSettings().matchPattern(), "x|y");
  EXPECT_TRUE(window_->LiveSettings().useRegex());
}

TEST_F(WindowTest, PlaceholderGoesIntoTheSelectedTemplateAtTheCaretOrOverTheSelection) {
  OpenWindow();
  QApplication::setActiveWindow(window_.get());
  Find<QTabWidget>("选择夹模板")->setCurrentIndex(2);
  QPlainTextEdit* box = Template(3);
  box->setPlainText(QStringLiteral("ab\ncd"));
  QTextCursor caret = box->textCursor();
  caret.setPosition(1);
  box->setTextCursor(caret);
  const QString others[] = {Template(1)->toPlainText(), Template(2)->toPlainText()};
  Find<QPushButton>("按钮导入的文章")->setFocus();

  QTest::mouseClick(Find<QPushButton>("按钮本篇标题"), Qt::LeftButton);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("a#本篇标题#b\ncd"));
  EXPECT_TRUE(box->hasFocus());

  QTextCursor selection = box->textCursor();
  selection.setPosition(static_cast<int>(box->toPlainText().indexOf(QLatin1Char('c'))));
  selection.setPosition(static_cast<int>(box->toPlainText().size()), QTextCursor::KeepAnchor);
  box->setTextCursor(selection);
  QTest::mouseClick(Find<QPushButton>("按钮导入的文章"), Qt::LeftButton);
  EXPECT_EQ(box->toPlainText(), QStringLiteral("a#本篇标题#b\n#导入的文件内容#"));

  EXPECT_EQ(Template(1)->toPlainText(), others[0]);
  EXPECT_EQ(Template(2)->toPlainText(), others[1]);
  EXPECT_TRUE(Template(4)->toPlainText().isEmpty());
  EXPECT_TRUE(Template(5)->toPlainText().isEmpty());
}

TEST_F(WindowTest, PageSizeBoxTakesOnlyDigitsAndMinus) {
  OpenWindow();
  QApplication::setActiveWindow(window_.get());
  auto* box = Find<QLineEdit>("编辑框分页");
  box->clear();
  box->setEnabled(true);
  box->setFocus();
  QTest::keyClicks(box, QStringLiteral("a5-"));
  EXPECT_EQ(box->text(), QStringLiteral("5-"));
  QTest::keyClick(box, Qt::Key_Backspace);
  QTest::keyClicks(box, QStringLiteral("x0 "));
  EXPECT_EQ(box->text(), QStringLiteral("50"));
}

TEST_F(WindowTest, SettingsSurviveARestartButTheMarkersDoNot) {
  OpenWindow();
  Template(4)->setPlainText(QStringLiteral("<p>#本篇标题#</p>\n\n<div>#导入的文件内容#</div>"));
  Find<QTabWidget>("选择夹模板")->setCurrentIndex(3);
  Find<QComboBox>("组合框文件编码")->setCurrentIndex(1);
  Find<QCheckBox>("选择框生成首页")->setChecked(true);
  Find<QLineEdit>("编辑框分页")->setText(QStringLiteral("30"));
  Find<QLineEdit>("编辑框匹配式")->clear();
  Find<QLineEdit>("编辑框左边内容")->setText(QStringLiteral("<main>"));
  EXPECT_TRUE(window_->close());
  EXPECT_TRUE(desktop_.informed.isEmpty());

  OpenWindow();
  EXPECT_EQ(Template(4)->toPlainText(), QStringLiteral("<p>#本篇标题#</p>\n\n<div>#导入的文件内容#</div>"));
  const auto& live = window_->LiveSettings();
  EXPECT_EQ(live.templateTexts()[3], G("<p>#本篇标题#</p>\r\n\r\n<div>#导入的文件内容#</div>"));
  EXPECT_EQ(live.selectedTemplate(), 3);
  EXPECT_EQ(live.fileEncoding(), 1);
  EXPECT_TRUE(live.makeIndex());
  EXPECT_EQ(live.pageSize(), 30);
  EXPECT_EQ(live.matchPattern(), "");
  EXPECT_EQ(live.middleLeftMarker(), "<body>");
  EXPECT_TRUE(Find<QLineEdit>("编辑框分页")->isEnabled());
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("澄溪·岚舟 v1.21 - 问题反馈：lanzhou@example.org"));
}

TEST_F(WindowTest, AFileThatCannotBeReadOrWrittenIsNamedWithItsReason) {
  // A folder where the settings file should be: it can be neither read nor replaced.
  const std::string blocked = dir_.path() + "/blocked.ini";
  std::filesystem::create_directory(blocked);
  StartProgram(blocked);
  OpenWindow();
  QCoreApplication::processEvents();
  ASSERT_EQ(desktop_.informed.size(), 1);
  EXPECT_TRUE(desktop_.informed[0].startsWith(QStringLiteral("配置未能读取")));
  EXPECT_TRUE(desktop_.informed[0].contains(QString::fromStdString(blocked)));

  QTest::mouseClick(Find<ui::PictureBox>("图片框保存"), Qt::LeftButton);
  ASSERT_EQ(desktop_.informed.size(), 2);
  const QString message = desktop_.informed[1];
  EXPECT_TRUE(message.startsWith(QStringLiteral("配置未能保存到："))) << message.toStdString();
  EXPECT_TRUE(message.contains(QString::fromStdString(blocked)));
  EXPECT_TRUE(message.contains(QStringLiteral("原因：")));
  EXPECT_FALSE(message.contains(QStringLiteral("保存完毕")));

  // Closing asks first; "no" keeps the window and its templates.
  desktop_.confirm = false;
  EXPECT_FALSE(window_->close());
  EXPECT_TRUE(window_->isVisible());
  ASSERT_EQ(desktop_.questions.size(), 1);
  EXPECT_TRUE(desktop_.questions[0].contains(QStringLiteral("仍然关闭窗口吗")));
  desktop_.confirm = true;
  EXPECT_TRUE(window_->close());
}

TEST_F(WindowTest, SaveLinkSaysSavedOnlyAfterWriting) {
  OpenWindow();
  QLabel* link = Find<QLabel>("超级链接框保存");
  emit link->linkActivated(QStringLiteral("#"));
  ASSERT_EQ(desktop_.informed, QStringList{QStringLiteral("保存完毕！")});
  EXPECT_TRUE(std::filesystem::exists(dir_.path() + "/settings.ini"));
}

TEST_F(WindowTest, HelpShowsTheSixteenLinesThenTheToolsBlock) {
  OpenWindow();
  QTest::mouseClick(Find<ui::PictureBox>("图片框操作"), Qt::LeftButton);
  ASSERT_EQ(desktop_.informed.size(), 1);
  const QStringList lines = desktop_.informed[0].split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 18);
  EXPECT_EQ(lines[0], QStringLiteral("【标题来源】当设置为取网页标题且取出为空时，将默认取文件名为标题。"));
  EXPECT_EQ(lines[4], QStringLiteral("导入的文件通常有 2 种："));
  EXPECT_EQ(lines[9], QStringLiteral("第二种网页文件，文章的标题通常是该文件内容中的“<title>”和“</title>”之间的字符串"));
  EXPECT_EQ(lines[15], QStringLiteral("更多帮助请点击“查看更新”到本软件发布页查看。"));
  for (int empty : {3, 7, 10, 12, 14, 16}) EXPECT_TRUE(lines[empty].isEmpty()) << empty;
  EXPECT_EQ(lines[2], QString(26, QChar(0x2014)));

  emit Find<QLabel>("超级链接框操作")->linkActivated(QStringLiteral("#"));
  EXPECT_EQ(desktop_.informed.size(), 2);
}

TEST_F(WindowTest, BannerOpensTheProjectsPages) {
  OpenWindow();
  for (const char* box : {"图片框官网", "图片框更新", "图片框软件", "图片框QQ"}) {
    QTest::mouseClick(Find<ui::PictureBox>(box), Qt::LeftButton);
  }
  emit Find<QLabel>("超级链接框更新")->linkActivated(QStringLiteral("x"));
  ASSERT_EQ(desktop_.urls.size(), 5);
  for (const QString& url : desktop_.urls) EXPECT_TRUE(url.startsWith(QStringLiteral("https://"))) << url.toStdString();
  EXPECT_EQ(desktop_.urls[1], desktop_.urls[4]);  // picture and label: the label's address
  EXPECT_EQ(Find<ui::PictureBox>("图片框保存")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(WindowTest, EveryControlHasAnAccessibleName) {
  OpenWindow();
  for (QWidget* w : window_->findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || qobject_cast<QLabel*>(w) != nullptr) continue;
    if (w->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (w->objectName() == QStringLiteral("标签10")) continue;  // the rule under the banner
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(w);
    ASSERT_NE(spoken, nullptr);
    EXPECT_FALSE(spoken->text(QAccessible::Name).trimmed().isEmpty()) << w->objectName().toStdString();
  }
  // The import button speaks its caption as it changes.
  QString spokenWhileBusy;
  desktop_.whilePickingFiles = [&] {
    spokenWhileBusy = QAccessible::queryAccessibleInterface(Find<QPushButton>("按钮文件导入"))
                          ->text(QAccessible::Name);
  };
  QTest::mouseClick(Find<QPushButton>("按钮文件导入"), Qt::LeftButton);
  EXPECT_EQ(spokenWhileBusy, QStringLiteral("正在初始化.."));
  EXPECT_EQ(Template(3)->accessibleName(), QStringLiteral("模板3"));
  EXPECT_EQ(Find<QLineEdit>("编辑框左边内容")->accessibleName(), QStringLiteral("左边内容"));
}

}  // namespace
}  // namespace lanzhou::testing
