#include "ui/picture_render.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QMouseEvent>
#include <QSpinBox>
#include <QSvgGenerator>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "common/textfile.h"
#include "ui/translation.h"

namespace planova::ui {

namespace {

QColor ColorOf(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// Below this size (a box moved out of the way) the picture has no labels.
constexpr int kLabelledWidth = 200, kLabelledHeight = 60;
constexpr double kGap = 3;  // pixels between a label and the grid or another label
constexpr double kJ2000 = 2451545.0, kJulianYear = 365.25;
// The triangle of a point beyond the grid: its length from the edge inward and its
// half-width, pixels.
constexpr double kMarkLength = 7, kMarkHalfWidth = 4;

bool Labelled(const PictureBox& box, const QSize& size) {
  return box.Axes.Known && size.width() >= kLabelledWidth && size.height() >= kLabelledHeight;
}

// A number with the decimal comma and as many decimals as a labelled step needs.
QString Number(double v, double step) {
  int decimals = 0;
  for (double s = std::fabs(step); decimals < 3 && std::fabs(s - std::round(s)) > 1e-6 * std::max(1.0, s); s *= 10) {
    ++decimals;
  }
  if (std::fabs(v) < 0.5 * std::pow(10.0, -decimals)) v = 0;  // no "-0"
  return QString::number(v, 'f', decimals).replace('.', ',');
}

QString DateText(double jd) {
  return QDate::fromJulianDay(static_cast<qint64>(std::floor(jd + 0.5))).toString("dd.MM.yyyy");
}

QString TimeText(const PlotAxes& a, double x, double stepYears) {
  const double jd = a.OriginJd + x * a.YearsPerUnit * kJulianYear;
  if (std::fabs(stepYears) >= 0.2) return Number(2000 + (jd - kJ2000) / kJulianYear, stepYears);
  return DateText(jd);
}

QString ValueText(const PlotAxes& a, double y, double stepValue) {
  return Number((y - a.ZeroY) * a.ArcsecPerUnit, stepValue) + QString::fromUtf8("″");
}

// The multiples of `step` from a to b (either order).
std::vector<double> Ticks(double a, double b, double step) {
  std::vector<double> ticks;
  const double lo = std::min(a, b), hi = std::max(a, b);
  if (!(step > 0) || !((hi - lo) / step < 1e6)) return ticks;
  for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + 1e-9 * std::max(1.0, std::fabs(hi)); ++k) {
    ticks.push_back(k * step);
  }
  return ticks;
}

// The smallest step of 1, 2, 5, 10, … units (in a zoomed view also 0,5, 0,2, 0,1, …)
// whose labels `need` pixels each fit `perUnit`.
double StepFor(double perUnit, double need, bool zoomed) {
  for (double decade = zoomed ? 1e-6 : 1; decade < 1e9; decade *= 10) {
    for (double m : {1.0, 2.0, 5.0}) {
      if (m * decade * perUnit >= need) return m * decade;
    }
  }
  return 1e9;
}

// The vertical margins: half a line above the grid, below the picture's title lines;
// the time labels' line below it.
double TopMargin(const PictureBox& box, const QFontMetricsF& fm) {
  return fm.height() / 2 + static_cast<double>(box.Axes.Title.size()) * fm.height();
}
double BottomMargin(const QFontMetricsF& fm) { return fm.height() + kGap; }

// Every how many units the value axis is labelled, for a grid `height` pixels high.
double ValueStep(const PictureBox& box, double height, const QFontMetricsF& fm) {
  const ViewRect v = box.View();
  return StepFor(height / std::fabs(v.Bottom - v.Top), fm.height(), box.Zoomed());
}

// The left margin: as wide as the widest value label.
double ValueMargin(const PictureBox& box, const QSize& size, const QFontMetricsF& fm) {
  const double step = ValueStep(box, size.height() - 1 - TopMargin(box, fm) - BottomMargin(fm), fm);
  const ViewRect v = box.View();
  double widest = 0;
  for (double y : Ticks(v.Top, v.Bottom, step)) {
    widest = std::max(widest, fm.horizontalAdvance(ValueText(box.Axes, y, step * box.Axes.ArcsecPerUnit)));
  }
  return std::min(widest, 120.0) + 2 * kGap;
}

// Where a mark goes, in pixels, and the unit vector it points along.
struct PixelMark {
  QPointF at, direction;
};
PixelMark MarkInPixels(const PictureBox& box, const QSize& size, const QFontMetricsF& fm, double x, double y) {
  const MarkPlace m = box.PlaceOfMark(x, y);
  QPointF d(m.Dx, -m.Dy);  // the screen's y runs down
  const double length = std::hypot(d.x(), d.y());
  return {PixelOf(box, size, fm, m.X, m.Y), length > 0 ? d / length : QPointF(0, -1)};
}

// Where an item with a readout is drawn: a point on the grid at its place, a point
// beyond it and a mark on the grid's edge.
QPointF DrawnAt(const PictureBox& box, const QSize& size, const QFontMetricsF& fm, const PictureItem& item) {
  if (item.kind == PictureItem::Kind::kMark || box.PlaceOfMark(item.x1, item.y1).OffGrid) {
    return MarkInPixels(box, size, fm, item.x1, item.y1).at;
  }
  return PixelOf(box, size, fm, item.x1, item.y1);
}

}  // namespace

QRectF PlotArea(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics) {
  const double w = size.width() - 1, h = size.height() - 1;
  const ViewRect v = box.View();
  if (!Labelled(box, size) || v.Bottom == v.Top) return QRectF(0, 0, w, h);
  const double left = ValueMargin(box, size, metrics), bottom = BottomMargin(metrics), top = TopMargin(box, metrics),
               right = kGap;
  return QRectF(left, top, w - left - right, h - top - bottom);
}

QPointF UserAt(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics, const QPointF& pixel) {
  const QRectF area = PlotArea(box, size, metrics);
  const ViewRect v = box.View();
  return QPointF(v.Left + (pixel.x() - area.left()) / area.width() * (v.Right - v.Left),
                 v.Top + (pixel.y() - area.top()) / area.height() * (v.Bottom - v.Top));
}

QPointF PixelOf(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics, double x, double y) {
  const QRectF area = PlotArea(box, size, metrics);
  const ViewRect v = box.View();
  const double w = v.Right - v.Left, h = v.Bottom - v.Top;
  return QPointF(w != 0 ? area.left() + (x - v.Left) / w * area.width() : area.left(),
                 h != 0 ? area.top() + (y - v.Top) / h * area.height() : area.top());
}

std::vector<PlotLabel> PlotLabels(const PictureBox& box, const QSize& size, const QFontMetricsF& fm) {
  std::vector<PlotLabel> labels;
  if (!Labelled(box, size)) return labels;
  const PlotAxes& a = box.Axes;
  const QRectF area = PlotArea(box, size, fm);
  const ViewRect v = box.View();
  const double spanX = v.Right - v.Left, spanY = v.Bottom - v.Top;
  if (spanX == 0 || spanY == 0) return labels;

  // The title lines above the grid, shortened with "…" to the box's width.
  double titleTop = kGap / 2;
  for (const std::string& line : a.Title) {
    const double width = size.width() - area.left() - kGap;
    const QString text = fm.elidedText(Tr(line), Qt::ElideRight, width);
    labels.push_back({PlotLabel::Kind::kTitle, QRectF(area.left(), titleTop, fm.horizontalAdvance(text), fm.height()), text});
    titleTop += fm.height();
  }
  // Time under the grid: a label every `step` units, as wide as the widest one needs.
  const double sampleWidth = fm.horizontalAdvance("00.00.0000") + 4 * kGap;
  const double stepX = StepFor(area.width() / std::fabs(spanX), sampleWidth, box.Zoomed());
  const double stepYears = stepX * a.YearsPerUnit;
  for (double x : Ticks(v.Left, v.Right, stepX)) {
    QString text = TimeText(a, x, stepYears);
    const double width = fm.horizontalAdvance(text);
    double px = area.left() + (x - v.Left) / spanX * area.width() - width / 2;
    px = std::max(area.left(), std::min(px, size.width() - width));
    labels.push_back({PlotLabel::Kind::kTime, QRectF(px, area.bottom() + kGap, width, fm.height()), text});
  }
  // Arcseconds left of the grid.
  const double stepY = ValueStep(box, area.height(), fm);
  for (double y : Ticks(v.Top, v.Bottom, stepY)) {
    QString text = ValueText(a, y, stepY * a.ArcsecPerUnit);
    const double width = fm.horizontalAdvance(text);
    double py = area.top() + (y - v.Top) / spanY * area.height() - fm.height() / 2;
    py = std::clamp(py, 0.0, size.height() - fm.height());
    labels.push_back({PlotLabel::Kind::kValue, QRectF(area.left() - kGap - width, py, width, fm.height()), text});
  }
  // The legend in a row at the grid's upper right: a square of each colour and its
  // meaning.  Beside the first title line when it has room there, off the points.
  double legendWidth = 0;
  for (const LegendEntry& e : a.Legend) legendWidth += fm.horizontalAdvance(Tr(e.text)) + fm.height() + 3 * kGap;
  double legendTop = area.top() + kGap, right = area.right() - 2 * kGap;
  if (!a.Title.empty() && labels.front().rect.right() + 2 * fm.height() + legendWidth <= right) {
    legendTop = labels.front().rect.top();
  }
  for (auto it = a.Legend.rbegin(); it != a.Legend.rend(); ++it) {
    QString text = Tr(it->text);
    const double width = fm.horizontalAdvance(text);
    labels.push_back({PlotLabel::Kind::kLegend, QRectF(right - width, legendTop, width, fm.height()), text, it->rgb});
    right -= width + fm.height() + 3 * kGap;
  }
  return labels;
}

const PictureItem* PointNear(const PictureBox& box, const QSize& size, const QFontMetricsF& fm, const QPointF& pixel,
                             double radius) {
  const PictureItem* nearest = nullptr;
  double best = radius * radius;
  const QRectF area = PlotArea(box, size, fm).adjusted(-radius, -radius, radius, radius);
  if (!area.contains(pixel)) return nullptr;
  for (const PictureItem& item : box.Items) {
    if (item.info < 0 || static_cast<size_t>(item.info) >= box.Infos.size()) continue;
    const QPointF d = DrawnAt(box, size, fm, item) - pixel;
    const double distance = d.x() * d.x() + d.y() * d.y();
    if (distance <= best) {
      best = distance;
      nearest = &item;
    }
  }
  return nearest;
}

QString PointReadout(const PictureBox& box, const PlotPointInfo& info) {
  const auto& series = box.Axes.Series;
  const bool known = info.Series >= 0 && static_cast<size_t>(info.Series) < series.size();
  const QString name = known ? Tr(series[static_cast<size_t>(info.Series)].Name) : QString("O-C");
  const QString unit = known ? Tr(series[static_cast<size_t>(info.Series)].Unit) : QString::fromUtf8("″");
  // The time of day, UT as observed, to the minute.
  const double dayFraction = info.Jd + 0.5 - std::floor(info.Jd + 0.5);
  const int minutes = std::min(24 * 60 - 1, static_cast<int>(std::floor(dayFraction * 24 * 60)));
  const QString time = QString("%1:%2").arg(minutes / 60, 2, 10, QChar('0')).arg(minutes % 60, 2, 10, QChar('0'));
  return QString::fromUtf8("№ %1   %2 %3   %4 = %5%6")
      .arg(info.Record)
      .arg(DateText(info.Jd), time, name, Number(info.Value, 0.001), unit);
}

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  const QFontMetricsF fm(painter.font());
  const QRectF area = PlotArea(box, size, fm);
  auto toPixels = [&](double x, double y) { return PixelOf(box, size, fm, x, y); };
  // Lines, points and marks stay within the grid's area: what a zoomed view leaves out
  // does not run into the labels.
  painter.save();
  painter.setClipRect(area.adjusted(-1, -1, 1, 1));
  painter.setRenderHint(QPainter::Antialiasing, false);
  auto mark = [&](const PictureItem& item) {
    const PixelMark m = MarkInPixels(box, size, fm, item.x1, item.y1);
    const QPointF across(-m.direction.y(), m.direction.x());
    const QPointF base = m.at - m.direction * kMarkLength;
    const QPointF triangle[] = {m.at, base + across * kMarkHalfWidth, base - across * kMarkHalfWidth};
    painter.setBrush(ColorOf(item.rgb));
    painter.drawPolygon(triangle, 3);
    painter.setBrush(Qt::NoBrush);
  };
  for (const auto& item : box.Items) {
    painter.setPen(ColorOf(item.rgb));
    QPointF a = toPixels(item.x1, item.y1);
    switch (item.kind) {
      case PictureItem::Kind::kLine:
        painter.drawLine(a, toPixels(item.x2, item.y2));
        break;
      case PictureItem::Kind::kPoint:
        if (box.PlaceOfMark(item.x1, item.y1).OffGrid) {
          mark(item);
        } else {
          painter.drawRect(QRectF(a.x() - 1, a.y() - 1, 2, 2));
        }
        break;
      case PictureItem::Kind::kMark:
        mark(item);
        break;
      case PictureItem::Kind::kText:
        painter.drawText(a + QPointF(0, fm.ascent()), Tr(item.text));
        break;
    }
  }
  painter.restore();
  std::vector<PlotLabel> labels = PlotLabels(box, size, fm);
  // In a zoomed view the labels may fall between the grid's lines: a short tick marks
  // each on the grid's edge.
  if (box.Zoomed()) {
    painter.setPen(QColor(120, 120, 120));
    for (const auto& l : labels) {
      if (l.kind == PlotLabel::Kind::kTime) {
        const double x = std::clamp(l.rect.center().x(), area.left(), area.right());
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() - 4));
      } else if (l.kind == PlotLabel::Kind::kValue) {
        const double y = std::clamp(l.rect.center().y(), area.top(), area.bottom());
        painter.drawLine(QPointF(area.left(), y), QPointF(area.left() + 4, y));
      }
    }
  }
  // The legend's background, so that points under it do not hide its texts.
  QRectF legend;
  for (const auto& l : labels) {
    if (l.kind == PlotLabel::Kind::kLegend) legend |= l.rect.adjusted(-fm.height() - kGap, 0, 0, 0);
  }
  if (!legend.isNull()) {
    painter.setPen(QColor(160, 160, 160));
    painter.setBrush(Qt::white);
    painter.drawRect(legend.adjusted(-kGap, -1, kGap, 1));
    painter.setBrush(Qt::NoBrush);
  }
  for (const auto& l : labels) {
    if (l.kind == PlotLabel::Kind::kLegend) {
      const double side = fm.height() * 0.6;
      QRectF swatch(l.rect.left() - kGap - side, l.rect.center().y() - side / 2, side, side);
      painter.fillRect(swatch, ColorOf(l.rgb));
    }
    painter.setPen(Qt::black);
    painter.drawText(l.rect.bottomLeft() - QPointF(0, fm.descent()), l.text);
  }
}

QImage RenderPicture(const PictureBox& box, const QSize& size) {
  QImage image(size, QImage::Format_RGB32);
  QPainter painter(&image);
  PaintPicture(painter, box, size);
  return image;
}

QByteArray EncodePicture(const PictureBox& box, const QSize& size, const QString& format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format.compare("SVG", Qt::CaseInsensitive) == 0) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setResolution(96);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle("Planova3");
    QPainter painter;
    if (!painter.begin(&svg)) return {};
    PaintPicture(painter, box, size);
    painter.end();
    return bytes;
  }
  if (!RenderPicture(box, size).save(&buffer, "PNG")) return {};
  return bytes;
}

// "Сохранить рисунок как PNG", in the windows' language.
QString PictureWidget::SaveCaption(const QString& format) { return Tr("Сохранить рисунок как ") + format; }

namespace {

// The size of the last picture saved, for the next; 1600 x 900 at first.
QSize& LastSaveSize() {
  static QSize size(1600, 900);
  return size;
}

// The small dialog of the size to save at: width and height in pixels.
QSize AskPictureSize(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(Tr("Размер рисунка"));
  auto* form = new QFormLayout(&dialog);
  auto spin = [&](int value) {
    auto* box = new QSpinBox(&dialog);
    box->setRange(100, 10000);
    box->setSingleStep(100);
    box->setValue(value);
    return box;
  };
  QSpinBox* width = spin(LastSaveSize().width());
  QSpinBox* height = spin(LastSaveSize().height());
  width->setObjectName("width");
  height->setObjectName("height");
  form->addRow(Tr("Ширина, пикселей"), width);
  form->addRow(Tr("Высота, пикселей"), height);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return {};
  LastSaveSize() = QSize(width->value(), height->value());
  return LastSaveSize();
}

}  // namespace

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
  setMouseTracking(true);
  AskFileName = [this](const QString& format) {
    const QString filter = format == "SVG" ? "SVG (*.svg)" : "PNG (*.png)";
    const QString start = SaveFolder.isEmpty() || QFileInfo::exists(SaveFolder) ? SaveFolder : QFileInfo(SaveFolder).path();
    return QFileDialog::getSaveFileName(this, SaveCaption(format), start, filter);
  };
  AskSize = [this](const QString&) { return AskPictureSize(this); };
}

QString PictureWidget::WithExtension(const QString& path, const QString& format) {
  if (!QFileInfo(path).suffix().isEmpty()) return path;
  return path + "." + format.toLower();
}

std::unique_ptr<QMenu> PictureWidget::ContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (QString format : {"PNG", "SVG"}) {
    QAction* action = menu->addAction(SaveCaption(format) + QString::fromUtf8("…"));
    action->setObjectName("save" + format);
    connect(action, &QAction::triggered, this, [this, format] {
      const QSize size = AskSize ? AskSize(format) : this->size();
      if (size.isEmpty()) return;
      QString path = AskFileName ? AskFileName(format) : QString();
      if (path.isEmpty()) return;
      path = WithExtension(path, format);
      if (!SaveTo(path, format, size) && SaveFailed) SaveFailed(path);
    });
  }
  menu->addSeparator();
  QAction* whole = menu->addAction(Tr("Показать весь рисунок"));
  whole->setObjectName("wholePicture");
  whole->setEnabled(box_.Zoomed());
  connect(whole, &QAction::triggered, this, [this] {
    box_.ResetView();
    update();
  });
  return menu;
}

bool PictureWidget::SaveTo(const QString& path, const QString& format, const QSize& size) {
  QByteArray bytes = EncodePicture(box_, size, format);
  if (bytes.isEmpty()) return false;
  return WriteFileAtomically(std::filesystem::path(path.toStdString()),
                             std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintPicture(painter, box_, size());
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  // Ctrl with the right button is the context menu's, also where the right button picks.
  if (event->button() == Qt::RightButton && (event->modifiers() & Qt::ControlModifier)) return;
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton && event->button() != Qt::MiddleButton) {
    return;
  }
  pressed_ = event->button();
  pressAt_ = dragFrom_ = event->position();
  dragging_ = false;
  QToolTip::hideText();
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  if (pressed_ == Qt::LeftButton || pressed_ == Qt::MiddleButton) {
    if (!dragging_ && (at - pressAt_).manhattanLength() < QApplication::startDragDistance()) return;
    // The view follows the pointer: the user point under it stays under it.
    dragging_ = true;
    setCursor(Qt::ClosedHandCursor);
    const QFontMetricsF fm(font());
    const QPointF from = UserAt(box_, size(), fm, dragFrom_), to = UserAt(box_, size(), fm, at);
    box_.Pan(from.x() - to.x(), from.y() - to.y());
    dragFrom_ = at;
    update();
    return;
  }
  if (pressed_ == Qt::NoButton) ShowReadout(at, event->globalPosition().toPoint());
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != pressed_) return;
  const bool click = !dragging_ && (pressed_ == Qt::LeftButton || pressed_ == Qt::RightButton);
  const bool left = pressed_ == Qt::LeftButton;
  pressed_ = Qt::NoButton;
  if (dragging_) unsetCursor();
  dragging_ = false;
  if (!click) return;
  // The click reaches the model where it was pressed, in the user coordinates of the view.
  const QPointF user = UserAt(box_, size(), QFontMetricsF(font()), pressAt_);
  box_.Click(user.x(), user.y(), left);
  update();
  if (AfterClick) AfterClick();
}

void PictureWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  // A notch of the wheel (120) zooms by the fourth root of 2 about the point under the pointer.
  const QFontMetricsF fm(font());
  const QPointF user = UserAt(box_, size(), fm, event->position());
  box_.ZoomAbout(user.x(), user.y(), std::pow(2.0, delta / 480.0));
  // The labels of the new view may take a margin of another width: the view is moved
  // back so that the point stays under the pointer.
  const QPointF now = UserAt(box_, size(), fm, event->position());
  box_.Pan(user.x() - now.x(), user.y() - now.y());
  readout_ = -1;
  QToolTip::hideText();
  update();
  event->accept();
}

void PictureWidget::ShowReadout(const QPointF& at, const QPoint& global) {
  const PictureItem* item = PointNear(box_, size(), QFontMetricsF(font()), at, 5);
  if (!item) {
    if (readout_ >= 0) QToolTip::hideText();
    readout_ = -1;
    return;
  }
  if (item->info == readout_ && QToolTip::isVisible()) return;
  readout_ = item->info;
  QToolTip::showText(global, PointReadout(box_, box_.Infos[static_cast<size_t>(item->info)]), this);
}

void PictureWidget::contextMenuEvent(QContextMenuEvent* event) {
  // Where the model takes right presses (window 3 picks record №2) the menu needs Ctrl.
  if (event->reason() == QContextMenuEvent::Mouse && box_.OnMouseDown &&
      !(event->modifiers() & Qt::ControlModifier)) {
    return;
  }
  // The menu takes the release of the press that opened it.
  pressed_ = Qt::NoButton;
  dragging_ = false;
  ContextMenu()->exec(event->globalPos());
}

}  // namespace planova::ui
