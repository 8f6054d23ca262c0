// The window's widgets seen through the control interfaces that loading, saving and the live
// settings use. Each adapter reads its widget at the moment of the call and converts between
// Qt's UTF-16 and code page 936 through the program's codec.
#pragma once

#include <QObject>

#include "platform/Codec.h"
#include "settings/CheckableControl.h"
#include "settings/IndexControl.h"
#include "settings/TextControl.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace lanzhou::ui {

class LineText final : public settings::TextControl {
 public:
  LineText(const platform::Codec& codec, QLineEdit* edit) : codec_(codec), edit_(edit) {}
  std::string Text() const override;
  void SetText(std::string_view text) override;

 private:
  const platform::Codec& codec_;
  QLineEdit* edit_;
};

// A multi-line box: line breaks are CR LF outside, LF inside.
class MultiLineText final : public settings::TextControl {
 public:
  MultiLineText(const platform::Codec& codec, QPlainTextEdit* edit) : codec_(codec), edit_(edit) {}
  std::string Text() const override;
  void SetText(std::string_view text) override;

 private:
  const platform::Codec& codec_;
  QPlainTextEdit* edit_;
};

// A combo box's selected item. An index outside -1 .. count-1 (a hand-edited settings file)
// leaves the selection as it was.
class ComboChoice final : public settings::IndexControl {
 public:
  explicit ComboChoice(QComboBox* combo) : combo_(combo) {}
  int Index() const override;
  void SetIndex(int index) override;

 private:
  QComboBox* combo_;
};

// A tab control's current tab. An index outside its tabs leaves the current one, so a
// hand-edited number never selects a template that does not exist.
class TabChoice final : public settings::IndexControl {
 public:
  explicit TabChoice(QTabWidget* tabs) : tabs_(tabs) {}
  int Index() const override;
  void SetIndex(int index) override;

 private:
  QTabWidget* tabs_;
};

class CheckBoxControl final : public settings::CheckableControl {
 public:
  CheckBoxControl(const platform::Codec& codec, QCheckBox* box) : codec_(codec), box_(box) {}
  std::string Caption() const override;
  bool Checked() const override;
  void SetChecked(bool checked) override;

 private:
  const platform::Codec& codec_;
  QCheckBox* box_;
};

// Lets only digits and "-" be typed into a line edit; other printable keys are dropped, while
// control keys (Backspace, arrows, shortcuts) and pasting work as usual.
class DigitsAndMinusFilter final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lanzhou::ui
