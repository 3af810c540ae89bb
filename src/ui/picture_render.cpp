#include "ui/picture_render.h"

#include <QMouseEvent>

namespace planova::ui {

namespace {

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

QPointF ToPixels(const PictureBox& box, const QSize& size, double x, double y) {
  double w = box.Right - box.Left, h = box.Bottom - box.Top;
  double px = w != 0 ? (x - box.Left) / w * size.width() : 0;
  double py = h != 0 ? (y - box.Top) / h * size.height() : 0;
  return {px, py};
}

}  // namespace

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  for (const auto& item : box.Items) {
    painter.setPen(ColorOf(item.rgb));
    QPointF a = ToPixels(box, size, item.x1, item.y1);
    switch (item.kind) {
      case PictureItem::Kind::kLine:
        painter.drawLine(a, ToPixels(box, size, item.x2, item.y2));
        break;
      case PictureItem::Kind::kPoint:
        painter.drawRect(QRectF(a.x() - 1, a.y() - 1, 2, 2));
        break;
      case PictureItem::Kind::kText:
        painter.drawText(a + QPointF(0, painter.fontMetrics().ascent()), QString::fromStdString(item.text));
        break;
    }
  }
}

QImage RenderPicture(const PictureBox& box, const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPicture(painter, box, size);
  return image;
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintPicture(painter, box_, size());
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  double x = box_.Left + event->position().x() / width() * (box_.Right - box_.Left);
  double y = box_.Top + event->position().y() / height() * (box_.Bottom - box_.Top);
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    box_.Click(x, y, event->button() == Qt::LeftButton);
    update();
    if (AfterClick) AfterClick();
  }
}

}  // namespace planova::ui
