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

  // 10 800" is out of the visible range; the time point is always drawn.
  PlotRow(box, c, s, origin, {2451545.0 + 1, 2451545.0 + 1, 3.0, 3.0, true});
  EXPECT_EQ(CountPoints(box), 4u);

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

}  // namespace
}  // namespace planova
