#include "ui/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace lanzhou::ui {

PictureBox::PictureBox(const QString& svgResource, QWidget* parent)
    : QWidget(parent), renderer_(svgResource) {
  setCursor(Qt::PointingHandCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::SetOverlayText(const QString& text) {
  overlay_ = text;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_.render(&painter, QRectF(rect()));
  if (overlay_.isEmpty()) return;
  QFont big = font();
  big.setPixelSize(22);
  big.setBold(true);
  painter.setFont(big);
  painter.setPen(QColor(0x1e, 0x3a, 0x5f));
  painter.drawText(QRect(96, 14, width() - 100, 40), Qt::AlignLeft | Qt::AlignVCenter, overlay_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    emit pressed();
    return;
  }
  QWidget::mousePressEvent(event);
}

QLabel* MakeLinkLabel(const QString& caption, const QString& address, QWidget* parent) {
  auto* label = new QLabel(parent);
  const QString href = address.isEmpty() ? QStringLiteral("#") : address;
  label->setText(QStringLiteral("<a href=\"") + href.toHtmlEscaped() +
                 QStringLiteral("\" style=\"color:#1e4f8f;\">") + caption.toHtmlEscaped() +
                 QStringLiteral("</a>"));
  label->setProperty("address", address);
  label->setAlignment(Qt::AlignCenter);
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setCursor(Qt::PointingHandCursor);
  label->setAccessibleName(caption);
  return label;
}

QString LinkAddress(const QLabel* label) { return label->property("address").toString(); }

}  // namespace lanzhou::ui
