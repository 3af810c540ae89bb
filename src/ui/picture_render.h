// Painting of a picture box's display list, on screen and into PNG files.
#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QWidget>

#include <functional>

#include "common/picture.h"

namespace planova::ui {

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size);
QImage RenderPicture(const PictureBox& box, const QSize& size);

// The on-screen picture box: paints the model and passes mouse presses back in user
// coordinates.
class PictureWidget : public QWidget {
 public:
  PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {}

  // Called after a press has reached the model (the window shows what it changed).
  std::function<void()> AfterClick;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  PictureBox& box_;
};

}  // namespace planova::ui
