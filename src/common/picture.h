// A picture box as the window models draw on it: a user coordinate scale, clearing,
// lines, points and text in RGB colours.  The model keeps what is drawn as a display
// list in user coordinates; the Qt front end paints it and the batch runner renders it
// into a PNG file.  Mouse presses come back in user coordinates.  A plot also says what
// its axes mean (PlotAxes), so that the front end can write the dates, the arcseconds
// and the legend beside the grid, and what each of its points is (PlotPointInfo), so
// that the front end can name the record under the mouse.
//
// The user scale is the grid; the view is the part of it shown, which the user may zoom
// and pan (ZoomAbout, Pan, ResetView).  The view never changes the user coordinates:
// the models draw, and mouse presses come back, in the same units whatever is shown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace planova {

struct PictureItem {
  // kMark: a point that the plot cannot show at its place (beyond the grid); the front
  // end draws it as a small triangle on the grid's edge, pointing towards the place.
  enum class Kind : uint8_t { kLine, kPoint, kText, kMark };
  Kind kind = Kind::kLine;
  uint8_t tag = 0;        // a model's own mark on an item, to remove it later (0: none)
  uint32_t rgb = 0;       // 0xRRGGBB
  int32_t info = -1;      // a point's or mark's entry in PictureBox::Infos (-1: none)
  double x1 = 0, y1 = 0;  // a line from (x1, y1) to (x2, y2); a point, mark or text at (x1, y1)
  double x2 = 0, y2 = 0;
  std::string text;
};

// One colour of a plot and what its points are.
struct LegendEntry {
  uint32_t rgb;
  std::string text;
};

// One kind of point of a plot ("Δα", the running mean of Δδ, …): its name and unit for
// the readout under the mouse, its colour, and how much larger it is drawn than its value
// (the running means of window 3 are drawn ten times enlarged).
struct PlotSeries {
  std::string Name;
  std::string Unit;  // "″", " сек"
  uint32_t Rgb = 0;
  double Factor = 1;
};

// The meaning of a plot's user coordinates.  Time runs to the right: x = (JD - OriginJd)
// / 365.25 / YearsPerUnit (Julian years).  A value of v arcseconds (seconds of time for a
// time difference) lies at y = v / ArcsecPerUnit + ZeroY.  Known is false until a run has
// set them; the front end then labels nothing.  Fitted: the scales were chosen to fit the
// run's data ("по данным"), not typed.  Title: lines written above the grid, where no
// point can run over them.
struct PlotAxes {
  bool Known = false;
  bool Fitted = false;
  double OriginJd = 0, YearsPerUnit = 1;
  double ArcsecPerUnit = 1, ZeroY = 0;
  std::vector<LegendEntry> Legend;
  std::vector<PlotSeries> Series;
  std::vector<std::string> Title;

  double X(double jd) const { return (jd - OriginJd) / 365.25 / YearsPerUnit; }
  double Y(double value) const { return value / ArcsecPerUnit + ZeroY; }
};

// What a plotted point is: the record (row of the data set), the date of the observation
// (JD), the value drawn (arcseconds, seconds of time for a time difference; before the
// series' enlargement) and its series (index into PlotAxes::Series).
struct PlotPointInfo {
  int32_t Record = 0;
  int32_t Series = 0;
  double Jd = 0;
  double Value = 0;
};

// Where a mark for a point lies: on the grid's edge, or at the point's own place when it
// lies on the grid (a point a plot's own rule leaves out), and the direction it points in:
// Dx -1 left, +1 right; Dy +1 towards the grid's top edge, -1 towards its bottom edge.
struct MarkPlace {
  double X, Y;
  int Dx, Dy;
  bool OffGrid;  // the point lies beyond the grid
};

// The part of the user scale a picture shows, in the scale's own orientation.
struct ViewRect {
  double Left, Top, Right, Bottom;
};

class PictureBox {
 public:
  // User scale: (left, top) is the upper-left corner, (right, bottom) the lower-right.
  // A new scale shows the whole grid again.
  void Scale(double left, double top, double right, double bottom) {
    Left = left;
    Top = top;
    Right = right;
    Bottom = bottom;
    ResetView();
  }
  // Clears what is drawn, what the points were and the title above the grid.
  void Clear() {
    Items.clear();
    Infos.clear();
    Axes.Title.clear();
    CurrentX = Left;
    CurrentY = Top;
  }
  void Line(double x1, double y1, double x2, double y2, uint32_t rgb) {
    Add(PictureItem::Kind::kLine, x1, y1, x2, y2, rgb);
    CurrentX = x2;
    CurrentY = y2;
  }
  void Point(double x, double y, uint32_t rgb) {
    Add(PictureItem::Kind::kPoint, x, y, x, y, rgb);
    CurrentX = x;
    CurrentY = y;
  }
  // A point with what it is: the readout under the mouse names it.
  void Point(double x, double y, uint32_t rgb, const PlotPointInfo& info) {
    Point(x, y, rgb);
    Items.back().info = Describe(info);
  }
  // A point the plot's own rule does not draw at (x, y), marked on the grid's edge.
  void Mark(double x, double y, uint32_t rgb, const PlotPointInfo& info) {
    Add(PictureItem::Kind::kMark, x, y, x, y, rgb);
    Items.back().info = Describe(info);
  }
  // Text at (CurrentX, CurrentY), its upper-left corner there.
  void Print(const std::string& text, uint32_t rgb = 0) {
    Add(PictureItem::Kind::kText, CurrentX, CurrentY, CurrentX, CurrentY, rgb);
    Items.back().text = text;
  }
  // The model's tag on the item drawn last, and the removal of the items with a tag.
  void TagLast(uint8_t tag) {
    if (!Items.empty()) Items.back().tag = tag;
  }
  void RemoveTagged(uint8_t tag);
  // A mouse press at user coordinates (left or right button).
  void Click(double x, double y, bool left) {
    if (OnMouseDown) OnMouseDown(x, y, left);
  }

  // Where the mark of a point at (x, y) goes (see MarkPlace).
  MarkPlace PlaceOfMark(double x, double y) const;
  // Draws the point of `info` where the axes put it, in its series' colour, enlarged as
  // the series is: on the grid as a point, beyond it as a mark on its edge.
  void PlotInfo(const PlotPointInfo& info);

  // The view: what part of the grid is shown.  Zooming by `factor` (above 1: closer)
  // keeps the user point (x, y) where it is on the screen; panning moves the view by
  // (dx, dy) user units.  The view stays within the grid and is at most the whole grid;
  // it is at least a ten-thousandth of the grid across.
  ViewRect View() const { return {ViewLeft, ViewTop, ViewRight, ViewBottom}; }
  bool Zoomed() const { return ViewLeft != Left || ViewRight != Right || ViewTop != Top || ViewBottom != Bottom; }
  void ZoomAbout(double x, double y, double factor);
  void Pan(double dx, double dy);
  void ResetView() {
    ViewLeft = Left;
    ViewTop = Top;
    ViewRight = Right;
    ViewBottom = Bottom;
  }

  // Place and size of the box on its window, in twips (15 to a pixel); the window
  // moves the box out of the way by making it small.
  int LeftTwips = 0, TopTwips = 0, WidthTwips = 0, HeightTwips = 0;
  void Place(int left, int top, int width, int height) {
    LeftTwips = left;
    TopTwips = top;
    WidthTwips = width;
    HeightTwips = height;
  }

  double Left = 0, Top = 0, Right = 1, Bottom = 1;
  double ViewLeft = 0, ViewTop = 0, ViewRight = 1, ViewBottom = 1;
  double CurrentX = 0, CurrentY = 0;
  std::vector<PictureItem> Items;
  std::vector<PlotPointInfo> Infos;
  PlotAxes Axes;
  std::function<void(double, double, bool)> OnMouseDown;

 private:
  void Add(PictureItem::Kind kind, double x1, double y1, double x2, double y2, uint32_t rgb) {
    PictureItem item;
    item.kind = kind;
    item.rgb = rgb;
    item.x1 = x1;
    item.y1 = y1;
    item.x2 = x2;
    item.y2 = y2;
    Items.push_back(std::move(item));
  }
  int32_t Describe(const PlotPointInfo& info) {
    Infos.push_back(info);
    return static_cast<int32_t>(Infos.size() - 1);
  }
};

// Scales that make a run's points fill a plot ("по данным"): the time axis in Julian
// years per unit and the value axis in arcseconds per unit, each a step of 1, 2 or 5
// times a power of ten, so that the grid lines fall on round years and arcseconds; the
// time origin a whole number of steps (a round epoch); and the grid, in units, just
// wide and high enough for the points and a margin of 3 % of their span on every side.
// Ok is false when there is no point.
struct PlotFit {
  bool Ok = false;
  double OriginJd = 0, YearsPerUnit = 1, ArcsecPerUnit = 1, ZeroY = 0;
  double Left = 0, Top = 1, Right = 1, Bottom = 0;  // the grid in units
};
// `columns` and `rows` are about the units the plot's grid should have: the grid has
// between 2/5 of them and all of them (plus the units the margins round up to).
PlotFit FitPlot(const std::vector<PlotPointInfo>& points, const std::vector<PlotSeries>& series, int columns,
                int rows);

// The 1, 2, 5 step at or above `x` (> 0): 0,2 for 0,15; 5 for 3; 10 for 10.
double NiceStep(double x);

}  // namespace planova
