#include "ui/picture_render.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QDate>
#include <QFileDialog>
#include <QMouseEvent>
#include <QSvgGenerator>

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

QString TimeText(const PlotAxes& a, double x, double stepYears) {
  const double jd = a.OriginJd + x * a.YearsPerUnit * kJulianYear;
  if (std::fabs(stepYears) >= 0.2) return Number(2000 + (jd - kJ2000) / kJulianYear, stepYears);
  return QDate::fromJulianDay(static_cast<qint64>(std::floor(jd + 0.5))).toString("dd.MM.yyyy");
}

QString ValueText(const PlotAxes& a, double y, double stepValue) {
  return Number((y - a.ZeroY) * a.ArcsecPerUnit, stepValue) + QString::fromUtf8("″");
}

// The whole units from a to b (either order) every `step`, starting at a multiple of it.
std::vector<int> Ticks(double a, double b, int step) {
  std::vector<int> ticks;
  const double lo = std::min(a, b), hi = std::max(a, b);
  if (!(hi - lo < 1e6)) return ticks;
  for (int t = static_cast<int>(std::ceil(lo / step)) * step; t <= hi + 1e-9; t += step) ticks.push_back(t);
  return ticks;
}

// The smallest step of 1, 2, 5, 10, … units whose labels `need` pixels each fit `perUnit`.
int StepFor(double perUnit, double need) {
  for (int step : {1, 2, 5, 10, 20, 50, 100}) {
    if (step * perUnit >= need) return step;
  }
  return 1000;
}

// The vertical margins: half a line above the grid, the time labels' line below it.
double TopMargin(const QFontMetricsF& fm) { return fm.height() / 2; }
double BottomMargin(const QFontMetricsF& fm) { return fm.height() + kGap; }

// Every how many units the value axis is labelled, for a grid `height` pixels high.
int ValueStep(const PictureBox& box, double height, const QFontMetricsF& fm) {
  return StepFor(height / std::fabs(box.Bottom - box.Top), fm.height());
}

// The left margin: as wide as the widest value label.
double ValueMargin(const PictureBox& box, const QSize& size, const QFontMetricsF& fm) {
  const int step = ValueStep(box, size.height() - 1 - TopMargin(fm) - BottomMargin(fm), fm);
  double widest = 0;
  for (int y : Ticks(box.Top, box.Bottom, step)) {
    widest = std::max(widest, fm.horizontalAdvance(ValueText(box.Axes, y, step * box.Axes.ArcsecPerUnit)));
  }
  return std::min(widest, 120.0) + 2 * kGap;
}

}  // namespace

QRectF PlotArea(const PictureBox& box, const QSize& size, const QFontMetricsF& metrics) {
  const double w = size.width() - 1, h = size.height() - 1;
  if (!Labelled(box, size) || box.Bottom == box.Top) return QRectF(0, 0, w, h);
  const double left = ValueMargin(box, size, metrics), bottom = BottomMargin(metrics), top = TopMargin(metrics),
               right = kGap;
  return QRectF(left, top, w - left - right, h - top - bottom);
}

std::vector<PlotLabel> PlotLabels(const PictureBox& box, const QSize& size, const QFontMetricsF& fm) {
  std::vector<PlotLabel> labels;
  if (!Labelled(box, size)) return labels;
  const PlotAxes& a = box.Axes;
  const QRectF area = PlotArea(box, size, fm);
  const double spanX = box.Right - box.Left, spanY = box.Bottom - box.Top;
  if (spanX == 0 || spanY == 0) return labels;

  // Time under the grid: a label every `step` units, as wide as the widest one needs.
  const double sampleWidth = fm.horizontalAdvance("00.00.0000") + 4 * kGap;
  const int stepX = StepFor(area.width() / std::fabs(spanX), sampleWidth);
  const double stepYears = stepX * a.YearsPerUnit;
  for (int x : Ticks(box.Left, box.Right, stepX)) {
    QString text = TimeText(a, x, stepYears);
    const double width = fm.horizontalAdvance(text);
    double px = area.left() + (x - box.Left) / spanX * area.width() - width / 2;
    px = std::max(area.left(), std::min(px, size.width() - width));
    labels.push_back({PlotLabel::Kind::kTime, QRectF(px, area.bottom() + kGap, width, fm.height()), text});
  }
  // Arcseconds left of the grid.
  const int stepY = ValueStep(box, area.height(), fm);
  for (int y : Ticks(box.Top, box.Bottom, stepY)) {
    QString text = ValueText(a, y, stepY * a.ArcsecPerUnit);
    const double width = fm.horizontalAdvance(text);
    double py = area.top() + (y - box.Top) / spanY * area.height() - fm.height() / 2;
    py = std::clamp(py, 0.0, size.height() - fm.height());
    labels.push_back({PlotLabel::Kind::kValue, QRectF(area.left() - kGap - width, py, width, fm.height()), text});
  }
  // The legend in a row at the grid's upper right: a square of each colour and its meaning.
  double right = area.right() - 2 * kGap;
  for (auto it = a.Legend.rbegin(); it != a.Legend.rend(); ++it) {
    QString text = Tr(it->text);
    const double width = fm.horizontalAdvance(text);
    labels.push_back({PlotLabel::Kind::kLegend, QRectF(right - width, area.top() + kGap, width, fm.height()), text,
                      it->rgb});
    right -= width + fm.height() + 3 * kGap;
  }
  return labels;
}

void PaintPicture(QPainter& painter, const PictureBox& box, const QSize& size) {
  painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
  const QFontMetricsF fm(painter.font());
  const QRectF area = PlotArea(box, size, fm);
  const double w = box.Right - box.Left, h = box.Bottom - box.Top;
  auto toPixels = [&](double x, double y) {
    return QPointF(w != 0 ? area.left() + (x - box.Left) / w * area.width() : area.left(),
                   h != 0 ? area.top() + (y - box.Top) / h * area.height() : area.top());
  };
  for (const auto& item : box.Items) {
    painter.setPen(ColorOf(item.rgb));
    QPointF a = toPixels(item.x1, item.y1);
    switch (item.kind) {
      case PictureItem::Kind::kLine:
        painter.drawLine(a, toPixels(item.x2, item.y2));
        break;
      case PictureItem::Kind::kPoint:
        painter.drawRect(QRectF(a.x() - 1, a.y() - 1, 2, 2));
        break;
      case PictureItem::Kind::kText:
        painter.drawText(a + QPointF(0, fm.ascent()), Tr(item.text));
        break;
    }
  }
  std::vector<PlotLabel> labels = PlotLabels(box, size, fm);
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

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
  AskFileName = [this](const QString& format) {
    const QString filter = format == "SVG" ? "SVG (*.svg)" : "PNG (*.png)";
    return QFileDialog::getSaveFileName(this, SaveCaption(format), QString(), filter);
  };
}

std::unique_ptr<QMenu> PictureWidget::ContextMenu() {
  auto menu = std::make_unique<QMenu>(this);
  for (QString format : {"PNG", "SVG"}) {
    QAction* action = menu->addAction(SaveCaption(format) + QString::fromUtf8("…"));
    action->setObjectName("save" + format);
    connect(action, &QAction::triggered, this, [this, format] {
      QString path = AskFileName ? AskFileName(format) : QString();
      if (path.isEmpty()) return;
      if (!SaveTo(path, format) && SaveFailed) SaveFailed(path);
    });
  }
  return menu;
}

bool PictureWidget::SaveTo(const QString& path, const QString& format) {
  QByteArray bytes = EncodePicture(box_, size(), format);
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
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
    const QRectF area = PlotArea(box_, size(), QFontMetricsF(font()));
    double x = box_.Left + (event->position().x() - area.left()) / area.width() * (box_.Right - box_.Left);
    double y = box_.Top + (event->position().y() - area.top()) / area.height() * (box_.Bottom - box_.Top);
    box_.Click(x, y, event->button() == Qt::LeftButton);
    update();
    if (AfterClick) AfterClick();
  }
}

void PictureWidget::contextMenuEvent(QContextMenuEvent* event) {
  // Where the model takes right presses (window 3 picks record №2) the menu needs Ctrl.
  if (event->reason() == QContextMenuEvent::Mouse && box_.OnMouseDown &&
      !(event->modifiers() & Qt::ControlModifier)) {
    return;
  }
  ContextMenu()->exec(event->globalPos());
}

}  // namespace planova::ui
