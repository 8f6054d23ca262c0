#include "ui/MainWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextCursor>
#include <cerrno>
#include <system_error>

#include "settings/ControlSettings.h"
#include "settings/SettingsLoadSave.h"
#include "text/GbkLiterals.h"
#include "ui/Controls.h"
#include "ui/Links.h"
#include "ui/PictureBox.h"
#include "ui/UiText.h"

// The pictures live in this static library; a program linking it must register them once.
static void InitWindowResources() { Q_INIT_RESOURCE(resources); }

namespace lanzhou::ui {
namespace {

using settings::SettingControl;

// A rule's controls, enabled or disabled together.
void EnableAll(std::initializer_list<QWidget*> widgets, bool on) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

constexpr std::size_t Slot(SettingControl c) { return static_cast<std::size_t>(c); }

// The window is drawn for a client area this size: the design's outer size of 629 x 675 less
// a standard frame. It does not resize: every control has its fixed place.
constexpr int kClientWidth = 621;
constexpr int kClientHeight = 640;

// The template box's place inside the tab control, tab strip included.
const QRect kTemplateBoxInTabs(8, 24, 593, 248);

// "宋体" where the design names it; on this desktop a Song-style CJK face stands in for it.
QFont SongFont() {
  QFont f;
  f.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                 QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                 QStringLiteral("AR PL UMing TW MBE")});
  f.setPixelSize(12);
  return f;
}

QFont WindowFont() {
  QFont f;
  f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                 QStringLiteral("Microsoft YaHei"), QStringLiteral("Droid Sans Fallback")});
  f.setPixelSize(12);
  return f;
}

template <typename W>
W* Place(W* widget, const char* name, int x, int y, int w, int h) {
  widget->setObjectName(QString::fromUtf8(name));
  widget->setGeometry(x, y, w, h);
  return widget;
}

// Keeps a template box at its designed place in the tab control whatever height the tab strip
// takes in the current style: Qt puts a page's origin under the strip.
class TemplateBoxPlacer final : public QObject {
 public:
  TemplateBoxPlacer(QTabWidget* tabs, QWidget* page, QWidget* box)
      : QObject(page), tabs_(tabs), page_(page), box_(box) {
    page->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
        event->type() == QEvent::Show) {
      const QPoint origin = page_->mapTo(tabs_, QPoint(0, 0));
      const QRect wanted = kTemplateBoxInTabs.translated(-origin);
      box_->setGeometry(wanted.intersected(page_->rect()));
    }
    return false;
  }

 private:
  QTabWidget* tabs_;
  QWidget* page_;
  QWidget* box_;
};

}  // namespace

MainWindow::MainWindow(WindowContext context, QWidget* parent)
    : QWidget(parent), ctx_(context) {
  InitWindowResources();
  restCaption_ = Q(text::kRestCaption);
  fileIdle_ = Q(text::kFileImportIdle);
  folderIdle_ = Q(text::kFolderImportIdle);
  busyCaption_ = Q(text::kImportBusy);
  stoppingCaption_ = Q(text::kImportStopping);

  setObjectName(QStringLiteral("主窗口"));
  setFont(WindowFont());
  setFixedSize(kClientWidth, kClientHeight);
  setWindowIcon(QIcon(QStringLiteral(":/lanzhou/images/lanzhou.svg")));
  setAcceptDrops(true);

  BuildBanner();
  BuildPlaceholderButtons();
  BuildTemplates();
  BuildTitleOptions();
  BuildContentOptions();
  BuildImportAndOutput();
  ConnectRules();

  leftMarkerText_ = std::make_unique<LineText>(codec(), leftMarker_);
  rightMarkerText_ = std::make_unique<LineText>(codec(), rightMarker_);
  live_ = std::make_unique<settings::ControlSettings>(*this, *leftMarkerText_, *rightMarkerText_);

  errno = 0;
  if (!settings::LoadSettings(ctx_.program.store(), *this)) {
    const QString message = FailureText(text::kLoadFailed, ctx_.program.settingsFile(), errno);
    // After the window is up, so the message has a window to stand over.
    QMetaObject::invokeMethod(
        this, [this, message] { ctx_.desktop.Inform(this, message); }, Qt::QueuedConnection);
  }
}

MainWindow::~MainWindow() = default;

QString MainWindow::Q(std::string_view gbk) const { return ToQt(codec(), gbk); }

void MainWindow::BuildBanner() {
  auto* home = Place(new PictureBox(QStringLiteral(":/lanzhou/images/home.svg"), this),
                     "图片框官网", -5, 0, 309, 90);
  home->SetOverlayText(Q(text::kProductTitle));
  home->setAccessibleName(Q(text::kHomeBannerName));
  connect(home, &PictureBox::pressed, this,
          [this] { std::ignore = ctx_.desktop.OpenInBrowser(QString::fromLatin1(links::kHomePage)); });

  auto* rule = Place(new QFrame(this), "标签10", -8, 91, 731, 2);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);

  enum class Does { Save, Help, OpenAddress };
  struct Tile {
    const char* picture;
    const char* link;
    const char* image;
    int x;
    int linkX;
    std::string_view caption;
    Does does;
    const char* address;  // OpenAddress only
  };
  const Tile tiles[] = {
      {"图片框保存", "超级链接框保存", "save", 304, 0, text::kLinkSave, Does::Save, nullptr},
      {"图片框更新", "超级链接框更新", "update", 368, 1, text::kLinkUpdate, Does::OpenAddress, links::kReleasePage},
      {"图片框操作", "超级链接框操作", "help", 432, 0, text::kLinkHelp, Does::Help, nullptr},
      {"图片框软件", "超级链接框软件", "software", 496, 0, text::kLinkSoftware, Does::OpenAddress, links::kSoftwareList},
      {"图片框QQ", "超级链接框QQ", "contact", 560, 0, text::kLinkContact, Does::OpenAddress, links::kContact},
  };
  for (const Tile& t : tiles) {
    auto* box = Place(new PictureBox(QStringLiteral(":/lanzhou/images/%1.svg")
                                         .arg(QString::fromLatin1(t.image)),
                                     this),
                      t.picture, t.x, 0, 64, 90);
    const QString caption = Q(t.caption);
    box->setAccessibleName(caption);
    const QString address = t.address ? QString::fromLatin1(t.address) : QString();
    QLabel* label = Place(MakeLinkLabel(caption, address, box), t.link, t.linkX, 63, 63, 24);
    std::function<void()> action;
    switch (t.does) {
      case Does::Save:
        action = [this] { SaveWithMessage(); };
        break;
      case Does::Help:
        action = [this] { ShowHelp(); };
        break;
      case Does::OpenAddress:
        // The address is read from the label at the press, as the label holds it.
        action = [this, label] { std::ignore = ctx_.desktop.OpenInBrowser(LinkAddress(label)); };
        break;
    }
    connect(box, &PictureBox::pressed, this, action);
    connect(label, &QLabel::linkActivated, this, action);
  }
}

void MainWindow::BuildPlaceholderButtons() {
  struct Button {
    const char* name;
    int x, y, w, h;
    std::string_view placeholder;
  };
  const Button buttons[] = {
      {"按钮导入的文章", 8, 104, 223, 48, text::kPhContent},
      {"按钮上一篇标题", 232, 104, 96, 24, text::kPhPreviousTitle},
      {"按钮下一篇标题", 232, 128, 96, 24, text::kPhNextTitle},
      {"按钮上一篇链接", 328, 104, 96, 24, text::kPhPreviousLink},
      {"按钮下一篇链接", 328, 128, 96, 24, text::kPhNextLink},
      {"按钮本篇标题", 424, 104, 96, 24, text::kPhCurrentTitle},
      {"按钮本篇链接", 424, 128, 96, 24, text::kPhCurrentLink},
      {"按钮随机篇标题", 520, 104, 96, 24, text::kPhRandomTitle},
      {"按钮随机篇链接", 520, 128, 96, 24, text::kPhRandomLink},
  };
  for (const Button& b : buttons) {
    const QString caption = Q(b.placeholder);
    auto* button = Place(new QPushButton(caption, this), b.name, b.x, b.y, b.w, b.h);
    button->setAccessibleName(caption);
    button->setFocusPolicy(Qt::TabFocus);  // a click leaves the focus in the template
    const QString name = caption.mid(1, caption.size() - 2);
    connect(button, &QPushButton::clicked, this, [this, name] { InsertPlaceholder(name); });
  }
}

void MainWindow::BuildTemplates() {
  templateTabs_ = Place(new QTabWidget(this), "选择夹模板", 8, 152, 608, 280);
  templateTabs_->setAccessibleName(Q(text::kTemplateTabPrefix));
  for (int i = 0; i < generation::kTemplateCount; ++i) {
    const QString number = QString::number(i + 1);
    auto* page = new QWidget;
    auto* box = new QPlainTextEdit(page);
    box->setObjectName(QStringLiteral("编辑框模板") + number);
    box->setAccessibleName(Q(text::kTemplateTabPrefix) + number);
    box->setFont(SongFont());
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setTabChangesFocus(false);
    // The selection is hidden while the box has no focus: an unfocused box shows its text as
    // it will be filled, not a stale highlight.
    QPalette palette = box->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Inactive, QPalette::Base));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Inactive, QPalette::Text));
    box->setPalette(palette);
    new TemplateBoxPlacer(templateTabs_, page, box);
    templateTabs_->addTab(page, Q(text::kTemplateTabPrefix) + number);
    templates_[static_cast<std::size_t>(i)] = box;
    texts_[Slot(SettingControl::Template1) + static_cast<std::size_t>(i)] =
        std::make_unique<MultiLineText>(codec(), box);
  }
  // Filled before the settings are loaded: a missing key keeps this text.
  texts_[Slot(SettingControl::Template1)]->SetText(generation::DefaultTemplate1());
  texts_[Slot(SettingControl::Template2)]->SetText(generation::DefaultTemplate2());
  choices_[Slot(SettingControl::TemplateTab)] = std::make_unique<TabChoice>(templateTabs_);
}

void MainWindow::BuildTitleOptions() {
  Place(new QLabel(Q(text::kLabelTitleOptions), this), "标签标题参数", 8, 440, 377, 24);
  auto* sourceLabel = Place(new QLabel(Q(text::kLabelTitleSource), this), "标签2", 11, 480, 69, 20);

  titleSource_ = Place(new QComboBox(this), "组合框标题来源", 83, 480, 222, 20);
  titleSource_->addItems({Q(text::kItemFileName), Q(text::kItemHtmlTitle), Q(text::kItemFirstLine)});
  titleSource_->setCurrentIndex(static_cast<int>(generation::TitleSource::HtmlTitle));
  titleSource_->setFont(SongFont());
  titleSource_->setAccessibleName(Q(text::kKeyTitleSource));
  sourceLabel->setBuddy(titleSource_);

  stripFirstLine_ = Place(new QCheckBox(Q(text::kKeyStripFirstLine), this), "选择框去掉首行", 318, 480, 72, 20);
  stripFirstLine_->setChecked(true);
  replaceTitle_ = Place(new QCheckBox(Q(text::kKeyReplaceTitle), this), "选择框替换标题", 11, 512, 80, 24);
  matchPattern_ = Place(new QLineEdit(QStringLiteral("(.+)[_-].*"), this), "编辑框匹配式", 83, 512, 100, 24);
  matchPattern_->setAccessibleName(Q(text::kKeyMatchPattern));
  Place(new QLabel(Q(text::kLabelTo), this), "标签3", 186, 512, 16, 24);
  replacement_ = Place(new QLineEdit(QStringLiteral("$1"), this), "编辑框替换式", 204, 512, 100, 24);
  replacement_->setAccessibleName(Q(text::kKeyReplacement));
  useRegex_ = Place(new QCheckBox(Q(text::kKeyUseRegex), this), "选择框使用正则", 318, 512, 72, 24);
  useRegex_->setChecked(true);

  choices_[Slot(SettingControl::TitleSource)] = std::make_unique<ComboChoice>(titleSource_);
  texts_[Slot(SettingControl::MatchPattern)] = std::make_unique<LineText>(codec(), matchPattern_);
  texts_[Slot(SettingControl::Replacement)] = std::make_unique<LineText>(codec(), replacement_);
}

void MainWindow::BuildContentOptions() {
  Place(new QLabel(Q(text::kLabelContentOptions), this), "标签内容参数", 8, 552, 377, 24);
  takeMiddle_ = Place(new QCheckBox(Q(text::kKeyTakeMiddle), this), "选择框截取中间内容", 11, 584, 101, 20);
  takeMiddle_->setChecked(true);
  takeMiddle_->setFont(SongFont());
  keepWhenEmpty_ = Place(new QCheckBox(Q(text::kKeyKeepWhenEmpty), this), "选择框截取为空时返回原文", 238, 584, 141, 20);
  keepWhenEmpty_->setChecked(true);
  keepWhenEmpty_->setFont(SongFont());

  const QString left = Q(text::kLabelLeftMarker);
  const QString right = Q(text::kLabelRightMarker);
  auto* leftLabel = Place(new QLabel(left, this), "标签5", 27, 608, 56, 24);
  leftMarker_ = Place(new QLineEdit(QStringLiteral("<body>"), this), "编辑框左边内容", 88, 608, 104, 24);
  auto* rightLabel = Place(new QLabel(right, this), "标签6", 219, 608, 56, 24);
  rightMarker_ = Place(new QLineEdit(QStringLiteral("</body>"), this), "编辑框右边内容", 280, 608, 104, 24);
  for (QLineEdit* e : {leftMarker_, rightMarker_}) e->setFont(SongFont());
  // Spoken as the label beside them, without its colon.
  leftMarker_->setAccessibleName(left.chopped(1));
  rightMarker_->setAccessibleName(right.chopped(1));
  leftLabel->setBuddy(leftMarker_);
  rightLabel->setBuddy(rightMarker_);
}

void MainWindow::BuildImportAndOutput() {
  fileButton_ = Place(new QPushButton(fileIdle_, this), "按钮文件导入", 421, 463, 187, 50);
  folderButton_ = Place(new QPushButton(folderIdle_, this), "按钮目录导入", 421, 513, 187, 50);
  // No fixed spoken name: a screen reader reads the caption, busy or stopping included.
  // Laid over the buttons' edges, so they come after them and stay on top.
  fileEncoding_ = Place(new QComboBox(this), "组合框文件编码", 476, 502, 82, 20);
  fileEncoding_->addItems({QStringLiteral("ANSI(GBK)"), QStringLiteral("UTF-8"), QStringLiteral("Unicode")});
  fileEncoding_->setFont(SongFont());
  // The narrow box must show "ANSI(GBK)" whole beside its arrow.
  fileEncoding_->setStyleSheet(QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; }"));
  fileEncoding_->setAccessibleName(Q(text::kKeyFileEncoding));
  directoryFilter_ = Place(new QLineEdit(QStringLiteral("*.txt"), this), "编辑框目录过滤", 563, 526, 38, 24);
  directoryFilter_->setAlignment(Qt::AlignCenter);
  directoryFilter_->setFont(SongFont());
  directoryFilter_->setAccessibleName(Q(text::kKeyDirectoryFilter));

  useExtension_ = Place(new QCheckBox(Q(text::kKeyUseExtension), this), "选择框扩展名", 421, 583, 131, 24);
  extension_ = Place(new QLineEdit(QStringLiteral("htm"), this), "编辑框扩展名", 552, 583, 56, 24);
  extension_->setAlignment(Qt::AlignCenter);
  extension_->setAccessibleName(Q(text::kKeyExtension));
  makeIndex_ = Place(new QCheckBox(Q(text::kKeyMakeIndex), this), "选择框生成首页", 421, 608, 131, 24);
  pageSize_ = Place(new QLineEdit(QStringLiteral("50"), this), "编辑框分页", 552, 608, 56, 24);
  pageSize_->setAlignment(Qt::AlignCenter);
  pageSize_->setAccessibleName(Q(text::kKeyPageSize));
  pageSize_->installEventFilter(new DigitsAndMinusFilter(pageSize_));

  connect(fileButton_, &QPushButton::clicked, this, &MainWindow::ImportFiles);
  connect(folderButton_, &QPushButton::clicked, this, &MainWindow::ImportFolder);

  auto text = [this](SettingControl c, QLineEdit* e) {
    texts_[Slot(c)] = std::make_unique<LineText>(codec(), e);
  };
  text(SettingControl::Extension, extension_);
  text(SettingControl::PageSize, pageSize_);
  text(SettingControl::DirectoryFilter, directoryFilter_);
  choices_[Slot(SettingControl::FileEncoding)] = std::make_unique<ComboChoice>(fileEncoding_);
  auto check = [this](SettingControl c, QCheckBox* b) {
    checks_[Slot(c)] = std::make_unique<CheckBoxControl>(codec(), b);
    b->setAccessibleName(b->text());
  };
  check(SettingControl::StripFirstLine, stripFirstLine_);
  check(SettingControl::TakeMiddle, takeMiddle_);
  check(SettingControl::KeepWhenEmpty, keepWhenEmpty_);
  check(SettingControl::UseExtension, useExtension_);
  check(SettingControl::MakeIndex, makeIndex_);
  check(SettingControl::ReplaceTitle, replaceTitle_);
  check(SettingControl::UseRegex, useRegex_);
}

void MainWindow::ConnectRules() {
  connect(titleSource_, &QComboBox::currentIndexChanged, this, &MainWindow::FirstLineRule);
  connect(takeMiddle_, &QCheckBox::toggled, this, &MainWindow::MiddleContentRule);
  connect(useExtension_, &QCheckBox::toggled, this, &MainWindow::ExtensionRule);
  connect(replaceTitle_, &QCheckBox::toggled, this, &MainWindow::TitleRewritingRule);
  connect(makeIndex_, &QCheckBox::toggled, this, &MainWindow::IndexPageRule);
}

void MainWindow::FirstLineRule() {
  stripFirstLine_->setEnabled(titleSource_->currentIndex() ==
                              static_cast<int>(generation::TitleSource::FirstLine));
}

void MainWindow::MiddleContentRule() {
  EnableAll({keepWhenEmpty_, leftMarker_, rightMarker_}, takeMiddle_->isChecked());
}

void MainWindow::ExtensionRule() { extension_->setEnabled(useExtension_->isChecked()); }

void MainWindow::TitleRewritingRule() {
  EnableAll({matchPattern_, replacement_, useRegex_}, replaceTitle_->isChecked());
}

void MainWindow::IndexPageRule() { pageSize_->setEnabled(makeIndex_->isChecked()); }

void MainWindow::ApplyEnablementRules() {
  FirstLineRule();
  MiddleContentRule();
  ExtensionRule();
  TitleRewritingRule();
  IndexPageRule();
}

void MainWindow::SetCaption(std::string_view caption) { setWindowTitle(Q(caption)); }

settings::TextControl& MainWindow::Text(SettingControl control) {
  Q_ASSERT(texts_[Slot(control)]);
  return *texts_[Slot(control)];
}

settings::IndexControl& MainWindow::Choice(SettingControl control) {
  Q_ASSERT(choices_[Slot(control)]);
  return *choices_[Slot(control)];
}

settings::CheckableControl& MainWindow::CheckBox(SettingControl control) {
  Q_ASSERT(checks_[Slot(control)]);
  return *checks_[Slot(control)];
}

void MainWindow::InsertPlaceholder(const QString& name) {
  const int tab = templateTabs_->currentIndex();
  if (tab < 0 || tab >= generation::kTemplateCount) return;
  QPlainTextEdit* box = templates_[static_cast<std::size_t>(tab)];
  // One undo step, so Ctrl+Z takes the placeholder back out.
  box->textCursor().insertText(QLatin1Char('#') + name + QLatin1Char('#'));
  box->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowHelp() {
  ctx_.desktop.Inform(this, Q(std::string(text::kHelpText) + std::string(text::kHelpMoreTools))
                                .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString MainWindow::FailureText(std::string_view what, const std::string& path, int error) const {
  const QString reason = error != 0 ? QString::fromStdString(std::generic_category().message(error))
                                    : QStringLiteral("?");
  return Q(what) + QLatin1Char('\n') + NativeToQt(path) + QLatin1Char('\n') +
         Q(text::kFailureReason) + reason;
}

bool MainWindow::Save(bool closing) {
  errno = 0;
  if (settings::SaveSettings(ctx_.program.store(), *this)) return true;
  const QString message = FailureText(text::kSaveFailed, ctx_.program.settingsFile(), errno);
  if (closing) return ctx_.desktop.Confirm(this, message + QStringLiteral("\n\n") + Q(text::kCloseAnyway));
  ctx_.desktop.Inform(this, message);
  return false;
}

bool MainWindow::SaveWithMessage() {
  if (!Save(false)) return false;
  ctx_.desktop.Inform(this, Q(text::kSaved));
  return true;
}

}  // namespace lanzhou::ui
