#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>

#include "ui/UiText.h"

namespace lanzhou::ui {

std::string LineText::Text() const { return ToGbk(codec_, edit_->text()); }
void LineText::SetText(std::string_view text) { edit_->setText(ToQt(codec_, text)); }

std::string MultiLineText::Text() const {
  return ToGbk(codec_, LfToCrLf(edit_->toPlainText()));
}
void MultiLineText::SetText(std::string_view text) {
  edit_->setPlainText(CrLfToLf(ToQt(codec_, text)));
}

int ComboChoice::Index() const { return combo_->currentIndex(); }
void ComboChoice::SetIndex(int index) {
  if (index >= -1 && index < combo_->count()) combo_->setCurrentIndex(index);
}

int TabChoice::Index() const { return tabs_->currentIndex(); }
void TabChoice::SetIndex(int index) {
  if (index >= 0 && index < tabs_->count()) tabs_->setCurrentIndex(index);
}

std::string CheckBoxControl::Caption() const { return ToGbk(codec_, box_->text()); }
bool CheckBoxControl::Checked() const { return box_->isChecked(); }
void CheckBoxControl::SetChecked(bool checked) { box_->setChecked(checked); }

bool DigitsAndMinusFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  const QString typed = key->text();
  if (typed.isEmpty() || !typed.at(0).isPrint()) return false;
  for (const QChar c : typed) {
    if (!(c.isDigit() && c.unicode() < 0x80) && c != QLatin1Char('-')) return true;
  }
  return false;
}

}  // namespace lanzhou::ui
