// Painting of a picture box's display list, on screen and into PNG and SVG files.  When
// the picture knows its axes (PlotAxes), the grid is drawn inside margins that carry the
// dates or years under it, the arcseconds left of it, its title lines above it and a
// legend of the colours.  What is painted is the picture's view (the part of the grid
// zoomed and panned to); a point beyond the grid is a small triangle on the grid's edge.
#pragma once

#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "common/picture.h"

namespace planova::ui {

// Where the view of the user coordinates lands in a box of `size` pixels: the whole box,
// its last row and column included, or inside the margins of the labels.
QRectF PlotArea(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics);

// A pixel of a box of `size` as user coordinates of its view, and back.
QPointF UserAt(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics, const QPointF& pixel);
QPointF PixelOf(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics, double x, double y);

// A text written beside, above or on the grid.
struct PlotLabel {
  enum class Kind { kTime, kValue, kLegend, kTitle };
  Kind kind;
  QRectF rect;  // where the text goes, in pixels of the box
  QString text;
  uint32_t rgb = 0;  // the legend's colour
};

// The scale labels, the title lines and the legend of a picture that knows its axes
// (none otherwise).  Time labels are Julian-epoch years (1990; 1990,5) when a labelled
// step is a fifth of a year or more, calendar dates (03.01.1990) below; values are
// arcseconds (″).  Labels fall on whole units of the grid, or on finer steps in a view
// zoomed closer than a unit.
std::vector<PlotLabel> PlotLabels(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics);

// The point or mark with a readout (PictureBox::Infos) drawn nearest to `pixel`, within
// `radius` pixels; null when there is none.
const PictureItem* PointNear(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics,
                             const QPointF& pixel, double radius);
// What a plotted point is, in the windows' language: "№ 17   03.01.1990 20:55   Δα = 0,312″".
QString PointReadout(const PictureBox& box, const PlotPointInfo& info);

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size);
QImage RenderPicture(const PictureBox& box, const QSize& size);
// The picture as the bytes of a "PNG" or "SVG" file; empty when it cannot be encoded.
QByteArray EncodePicture(const PictureBox& box, const QSize& size, const QString& format);

// The on-screen picture box: paints the model's view; the wheel zooms about the pointer,
// dragging with the left or middle button pans; a left or right click (a press and a
// release without a drag) reaches the model in user coordinates; the record under the
// pointer is named in a tip; the context menu saves the picture at a chosen size and
// shows the whole grid again.
class PictureWidget : public QWidget {
 public:
  PictureWidget(PictureBox& box, QWidget* parent);

  // Called after a click has reached the model (the window shows what it changed).
  std::function<void()> AfterClick;
  // The file to save into for "PNG" or "SVG" (a file dialog in SaveFolder; empty when
  // cancelled).  A name typed without an extension gets the format's.
  std::function<QString(const QString& format)> AskFileName;
  // The size in pixels to save at (a small dialog, 1600 x 900 at first, then the size
  // chosen last; an empty size when cancelled).
  std::function<QSize(const QString& format)> AskSize;
  // Called with the file's path when a save could not be written.
  std::function<void(const QString& path)> SaveFailed;
  // Where the file dialog opens (the application folder's Dat).
  QString SaveFolder;

  // The context menu: "Сохранить рисунок как PNG…", "… SVG…", "Показать весь рисунок"
  // (translated as the windows are).
  std::unique_ptr<QMenu> ContextMenu();
  // The title of the save dialog, and the menu's entry without its "…".
  static QString SaveCaption(const QString& format);
  // The path with the format's extension added when it has none ("plot" → "plot.png").
  static QString WithExtension(const QString& path, const QString& format);
  // Writes the picture at `size` pixels; an old file is replaced only when the new one is
  // complete.
  bool SaveTo(const QString& path, const QString& format, const QSize& size);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ShowReadout(const QPointF& at, const QPoint& global);

  PictureBox& box_;
  Qt::MouseButton pressed_ = Qt::NoButton;  // the button held since its press
  QPointF pressAt_, dragFrom_;
  bool dragging_ = false;
  int readout_ = -1;  // the point whose readout is shown
};

}  // namespace planova::ui
