// A banner picture: an SVG drawn at the screen's own resolution (crisp at any scale), a hand
// cursor, and a signal on a left-button press. It may hold a link label and a caption drawn
// over the picture.
#pragma once

#include <QLabel>
#include <QSvgRenderer>
#include <QWidget>

namespace lanzhou::ui {

class PictureBox final : public QWidget {
  Q_OBJECT
 public:
  PictureBox(const QString& svgResource, QWidget* parent);

  // Text drawn over the picture's right part (the home banner's product title).
  void SetOverlayText(const QString& text);

 signals:
  void pressed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QSvgRenderer renderer_;
  QString overlay_;
};

// A link label: the caption as a link to `address` (none: the label only signals), activated
// by a click or by the keyboard. The address is read back with LinkAddress.
QLabel* MakeLinkLabel(const QString& caption, const QString& address, QWidget* parent);
QString LinkAddress(const QLabel* label);

}  // namespace lanzhou::ui
