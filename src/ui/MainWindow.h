// The program's one window: five templates, the title, content and output options, the nine
// placeholder buttons, the two import buttons and the banner. Its controls are the only store
// of the current options; LiveSettings() reads them at the moment of each read.
//
//   MainWindow window({*program, desktop});   // loads the settings
//   window.show();                            // closing saves them
//
// Every control's objectName is its name in the window's design (编辑框模板1, 按钮文件导入,
// 选择框生成首页, ...), so tests and tools find it.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "generation/GenerationSettings.h"
#include "platform/Codec.h"
#include "program/Program.h"
#include "settings/ControlSettings.h"
#include "settings/SettingsWindow.h"
#include "ui/Desktop.h"
#include "ui/WindowRunHost.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace lanzhou::ui {

class LineText;

struct WindowContext {
  program::Program& program;  // its store already points at the settings file
  Desktop& desktop;
};

class MainWindow final : public QWidget, public settings::SettingsWindow {
  Q_OBJECT
 public:
  explicit MainWindow(WindowContext context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The controls as loading and saving see them.
  void SetCaption(std::string_view caption) override;
  settings::TextControl& Text(settings::SettingControl control) override;
  settings::IndexControl& Choice(settings::SettingControl control) override;
  settings::CheckableControl& CheckBox(settings::SettingControl control) override;
  // The first-line, middle-content, extension, title-rewriting and index-page rules.
  void ApplyEnablementRules() override;

  // The options, read live from the controls (code page 936).
  const generation::GenerationSettings& LiveSettings() const { return *live_; }

  // Puts "#name#" over the selection (or at the caret) of the selected tab's template and
  // gives that box the focus.
  void InsertPlaceholder(const QString& name);
  void ShowHelp();
  // Saves the settings and says whether that worked; returns whether it did.
  bool SaveWithMessage();

  // The two import commands (the buttons' click handlers), and the imports a drop starts.
  void ImportFiles();
  void ImportFolder();
  void ImportDroppedFiles(std::vector<std::string> files);
  void ImportDroppedFolder(const std::string& folder);

  // True from the start of an import until its run has returned.
  bool Busy() const { return busy_; }
  // What the last run gave, for tests and the benchmark.
  const std::optional<generation::RunResult>& LastResult() const { return lastResult_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QString Q(std::string_view gbk) const;
  void BuildBanner();
  void BuildPlaceholderButtons();
  void BuildTemplates();
  void BuildTitleOptions();
  void BuildContentOptions();
  void BuildImportAndOutput();
  void ConnectRules();
  void FirstLineRule();
  void MiddleContentRule();
  void ExtensionRule();
  void TitleRewritingRule();
  void IndexPageRule();

  // Saves; on failure tells why (the file's path and the reason). `closing`: ask whether to
  // close anyway, and return the answer. Without `closing`, returns whether it saved.
  bool Save(bool closing);
  // `what`, the path and the reason for `error` (an errno value).
  QString FailureText(std::string_view what, const std::string& path, int error) const;
  const platform::Codec& codec() const { return ctx_.program.codec(); }
  void FileImport(const std::vector<std::string>* dropped);
  void FolderImport(const std::string& folder);
  void Run(const std::vector<std::string>& files);
  void RaiseStop(QPushButton* button);
  void AfterImport();

  WindowContext ctx_;
  QString restCaption_;
  QString fileIdle_, folderIdle_, busyCaption_, stoppingCaption_;

  QTabWidget* templateTabs_ = nullptr;
  std::array<QPlainTextEdit*, generation::kTemplateCount> templates_{};
  QComboBox* titleSource_ = nullptr;
  QCheckBox* stripFirstLine_ = nullptr;
  QCheckBox* replaceTitle_ = nullptr;
  QLineEdit* matchPattern_ = nullptr;
  QLineEdit* replacement_ = nullptr;
  QCheckBox* useRegex_ = nullptr;
  QCheckBox* takeMiddle_ = nullptr;
  QCheckBox* keepWhenEmpty_ = nullptr;
  QLineEdit* leftMarker_ = nullptr;
  QLineEdit* rightMarker_ = nullptr;
  QPushButton* fileButton_ = nullptr;
  QComboBox* fileEncoding_ = nullptr;
  QPushButton* folderButton_ = nullptr;
  QLineEdit* directoryFilter_ = nullptr;
  QCheckBox* useExtension_ = nullptr;
  QLineEdit* extension_ = nullptr;
  QCheckBox* makeIndex_ = nullptr;
  QLineEdit* pageSize_ = nullptr;

  // One adapter per saved control, at its SettingControl's position; the markers apart.
  std::array<std::unique_ptr<settings::TextControl>, 20> texts_;
  std::array<std::unique_ptr<settings::IndexControl>, 20> choices_;
  std::array<std::unique_ptr<settings::CheckableControl>, 20> checks_;
  std::unique_ptr<LineText> leftMarkerText_, rightMarkerText_;
  std::unique_ptr<settings::ControlSettings> live_;

  WindowRunHost::State runState_;
  bool busy_ = false;
  bool closeAfterRun_ = false;
  std::string lastFolder_;  // where the folder dialog opens next
  std::optional<generation::RunResult> lastResult_;
};

}  // namespace lanzhou::ui
