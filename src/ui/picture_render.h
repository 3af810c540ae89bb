// Painting of a picture box's display list, on screen and into PNG and SVG files.  When
// the picture knows its axes (PlotAxes), the grid is drawn inside margins that carry the
// dates or years under it, the arcseconds left of it and a legend of the colours.
#pragma once

#include <QByteArray>
#include <QFontMetricsF>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

#include "common/picture.h"

namespace planova::ui {

// Where the user coordinates (Left..Right, Top..Bottom) land in a box of `size` pixels:
// the whole box, its last row and column included, or inside the margins of the labels.
QRectF PlotArea(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics);

// A text written beside or on the grid.
struct PlotLabel {
  enum class Kind { kTime, kValue, kLegend };
  Kind kind;
  QRectF rect;  // where the text goes, in pixels of the box
  QString text;
  uint32_t rgb = 0;  // the legend's colour
};

// The scale labels and the legend of a picture that knows its axes (none otherwise).
// Time labels are Julian-epoch years (1990; 1990,5) when a labelled step is a fifth of a
// year or more, calendar dates (03.01.1990) below; values are arcseconds (″).
std::vector<PlotLabel> PlotLabels(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics);

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size);
QImage RenderPicture(const PictureBox& box, const QSize& size);
// The picture as the bytes of a "PNG" or "SVG" file; empty when it cannot be encoded.
QByteArray EncodePicture(const PictureBox& box, const QSize& size, const QString& format);

// The on-screen picture box: paints the model, passes mouse presses back in user
// coordinates and saves what it shows from its context menu.
class PictureWidget : public QWidget {
 public:
  PictureWidget(PictureBox& box, QWidget* parent);

  // Called after a press has reached the model (the window shows what it changed).
  std::function<void()> AfterClick;
  // The file to save into for "PNG" or "SVG" (a file dialog; empty when cancelled).
  std::function<QString(const QString& format)> AskFileName;
  // Called with the file's path when a save could not be written.
  std::function<void(const QString& path)> SaveFailed;

  // The context menu: "Сохранить рисунок как PNG…", "… SVG…" (translated as the windows are).
  std::unique_ptr<QMenu> ContextMenu();
  // The title of the save dialog, and the menu's entry without its "…".
  static QString SaveCaption(const QString& format);
  // Writes the picture at the box's present size; an old file is replaced only when the
  // new one is complete.
  bool SaveTo(const QString& path, const QString& format);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  PictureBox& box_;
};

}  // namespace planova::ui
