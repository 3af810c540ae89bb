// The plot of the differences: frame, pages and the point rules.
#include <gtest/gtest.h>

#include "window2/plot.h"

namespace planova {
namespace {

size_t CountPoints(const PictureBox& box) {
  size_t n = 0;
  for (const auto& it : box.Items) n += it.kind == PictureItem::Kind::kPoint;
  return n;
}

TEST(Plot, FrameIsAGridWithAZeroLine) {
  PictureBox box;
  box.Point(1, 1, 0);
  DrawPlotFrame(box);
  EXPECT_EQ(CountPoints(box), 0u);
  ASSERT_FALSE(box.Items.empty());
  // Drawn last, the zero line lies across the whole width between the top and the bottom.
  const auto& zero = box.Items.back();
  EXPECT_EQ(zero.y1, 0);
  EXPECT_EQ(zero.y2, 0);
  EXPECT_EQ(zero.x1, box.Left);
  EXPECT_EQ(zero.x2, box.Right);
  EXPECT_GT(box.Top, 0);
  EXPECT_LT(box.Bottom, 0);
}

TEST(Plot, PointsPagesAndRanges) {
  PlotColourTable c;
  InitPlotColours(c);
  PictureBox box;
  DrawPlotFrame(box);
  PlotSettings s;
  s.ShowL = s.ShowB = s.ShowT = true;
  double origin = 2451545.0;
  const double sec = 1.0 / 86400;
  // The axes the front end labels: the run's scales and the colours it plots.
  s.OffsetArcsec = 1800;
  SetPlotAxes(box, c, s, origin);
  EXPECT_TRUE(box.Axes.Known);
  EXPECT_EQ(box.Axes.YearsPerUnit, 1);
  EXPECT_EQ(box.Axes.ArcsecPerUnit, 3600);
  EXPECT_EQ(box.Axes.ZeroY, 0.5);  // a value v is drawn at (v + 1800") / 3600"
  ASSERT_EQ(box.Axes.Legend.size(), 3u);
  EXPECT_EQ(box.Axes.Legend[1].rgb, c[3].Rgb());
  EXPECT_EQ(box.Axes.Legend[2].text, "dT, сек");
  s.OffsetArcsec = 0;

  // 1" and 2" at the origin; ET-UT of 64 s as the time point of a theory comparison.
  PlotRow(box, c, s, origin, {2451545.0, 2451545.0 + 64 * sec, 1.0 / 3600, 2.0 / 3600, false});
  ASSERT_EQ(CountPoints(box), 3u);
  const auto& t = box.Items.back();
  EXPECT_NEAR(t.y1, 64.0 / 3600, 1e-4 / 3600);  // a JD near 2.45e6 resolves about 40 us
  EXPECT_EQ(t.rgb, c[4].Rgb());

  // 10 800" is out of the visible range; the time point is always drawn.  The two
  // differences left out are marked in their colours on the grid's upper edge, with
  // their record and value for the readout (3 units is the grid's edge itself).
  PlotRow(box, c, s, origin, {2451545.0 + 1, 2451545.0 + 1, 3.0, 3.0, true, 17});
  EXPECT_EQ(CountPoints(box), 4u);
  std::vector<uint32_t> marked;
  for (const auto& it : box.Items) {
    if (it.kind != PictureItem::Kind::kMark) continue;
    marked.push_back(it.rgb);
    const MarkPlace m = box.PlaceOfMark(it.x1, it.y1);
    EXPECT_EQ(m.Y, 3);
    EXPECT_EQ(m.Dy, 1);
    ASSERT_GE(it.info, 0);
    EXPECT_EQ(box.Infos[static_cast<size_t>(it.info)].Record, 17);
    EXPECT_EQ(box.Infos[static_cast<size_t>(it.info)].Value, 10800);
  }
  EXPECT_EQ(marked, (std::vector<uint32_t>{c[2].Rgb(), c[3].Rgb()}));

  // Exactly 25 units later: a new page, drawn at x = 0.
  double later = 2451545.0 + 25 * 365.25;
  PlotRow(box, c, s, origin, {later, later, 0, 0, true});
  EXPECT_EQ(origin, later);
  EXPECT_EQ(box.Axes.OriginJd, later) << "the new page's time labels start at its origin";
  EXPECT_EQ(CountPoints(box), 3u);
  EXPECT_EQ(box.Items.back().x1, 0.0);

  // The offset enters the range test with the opposite sign: 7000" with an offset of
  // 4000" is tested as 3000"/3600 (inside) and drawn at 11000"/3600 (above the grid).
  s.OffsetArcsec = 4000;
  s.ShowB = s.ShowT = false;
  size_t before = CountPoints(box);
  PlotRow(box, c, s, origin, {later, later, 7000.0 / 3600, 0, true});
  ASSERT_EQ(CountPoints(box), before + 1);
  EXPECT_DOUBLE_EQ(box.Items.back().y1, 11000.0 / 3600);
}

// "по данным": the sample's decade 1990.0-2000.0 and O-C from -0,3" to 0,5" with a running
// mean drawn ten times enlarged (0,1" as 1"), fitted to a grid of about 25 by 6 units.
TEST(Plot, FitSpansTheData) {
  for (const auto& [x, step] : std::vector<std::pair<double, double>>{{0.15, 0.2}, {3, 5}, {10, 10}, {0.3 / 3, 0.1}}) {
    EXPECT_EQ(NiceStep(x), step) << x;
  }
  const double jd1990 = 2451545.0 - 10 * 365.25;  // J1990.0
  const std::vector<PlotSeries> series = {{"Δα", "″", 0, 1}, {"Δα, среднее", "″", 0, 10}};
  const std::vector<PlotPointInfo> points = {{1, 0, jd1990, -0.3}, {2, 0, 2451545.0, 0.5}, {2, 1, 2451545.0, 0.1}};
  const PlotFit fit = FitPlot(points, series, 25, 6);
  ASSERT_TRUE(fit.Ok);
  // 10,6 years with the margins: half a year a unit from J1989.5 over 22 units; the
  // values -0,339"..1,039": half an arcsecond a unit, from -1 to 3 units.
  EXPECT_EQ(fit.YearsPerUnit, 0.5);
  EXPECT_EQ(fit.OriginJd, 2451545.0 - 10.5 * 365.25);
  EXPECT_EQ(fit.Left, 0);
  EXPECT_EQ(fit.Right, 22);
  EXPECT_EQ(fit.ArcsecPerUnit, 0.5);
  EXPECT_EQ(fit.Bottom, -1);
  EXPECT_EQ(fit.Top, 3);
  EXPECT_FALSE(FitPlot({}, series, 25, 6).Ok);

  // Drawn on the fitted frame every point lies on the grid, the mean at its tenfold value.
  PictureBox box;
  DrawFittedFrame(box, fit);
  box.Axes = {true, true, fit.OriginJd, fit.YearsPerUnit, fit.ArcsecPerUnit, fit.ZeroY, {}, series, {}};
  for (const PlotPointInfo& p : points) box.PlotInfo(p);
  EXPECT_EQ(CountPoints(box), 3u);
  for (const auto& it : box.Items) {
    if (it.kind == PictureItem::Kind::kPoint) {
      EXPECT_FALSE(box.PlaceOfMark(it.x1, it.y1).OffGrid) << it.y1;
    }
  }
  EXPECT_EQ(box.Items.back().y1, 2);  // 0,1" x 10 at 0,5" a unit
}

// The view of a grid 25 by 6 units: zooming keeps the point zoomed about where it was in
// the view, panning stays within the grid, zooming out ends at the whole grid.
TEST(Plot, ZoomAndPanTheView) {
  PictureBox box;
  DrawPlotFrame(box);
  auto fraction = [&](double x, double y) {
    const ViewRect v = box.View();
    return std::pair((x - v.Left) / (v.Right - v.Left), (y - v.Top) / (v.Bottom - v.Top));
  };
  const auto before = fraction(10, 1);
  box.ZoomAbout(10, 1, 4);
  EXPECT_TRUE(box.Zoomed());
  EXPECT_EQ(fraction(10, 1), before);
  EXPECT_EQ(box.ViewLeft, 7.5);
  EXPECT_EQ(box.ViewRight, 13.75);
  EXPECT_EQ(box.ViewTop, 1.5);
  EXPECT_EQ(box.ViewBottom, 0);
  box.Pan(1, -0.5);
  EXPECT_EQ(box.ViewLeft, 8.5);
  EXPECT_EQ(box.ViewBottom, -0.5);
  box.Pan(-20, 5);  // past the upper left corner: the view stops at the grid's edges
  EXPECT_EQ(box.ViewLeft, 0);
  EXPECT_EQ(box.ViewRight, 6.25);
  EXPECT_EQ(box.ViewTop, 3);
  EXPECT_EQ(box.ViewBottom, 1.5);
  box.ZoomAbout(3, 2, 1e12);  // no closer than a ten-thousandth of the grid
  EXPECT_NEAR(box.ViewRight - box.ViewLeft, 25e-4, 1e-12);
  box.ZoomAbout(3, 2, 1e-12);
  EXPECT_FALSE(box.Zoomed());
  box.ZoomAbout(10, 1, 2);
  DrawPlotFrame(box);  // a new page shows the whole grid
  EXPECT_FALSE(box.Zoomed());
}

}  // namespace
}  // namespace planova
