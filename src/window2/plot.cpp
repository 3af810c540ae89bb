#include "window2/plot.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace planova {

void InitPlotColours(PlotColourTable& colours) {
  // Numbers 0..11 are set, 12 and 13 keep their initial black.
  for (int k = 0; k <= 11; ++k) colours[static_cast<size_t>(k)] = PlotColour{};
  colours[0] = {240, 240, 0};
  colours[1] = {0, 255, 0};
  colours[2] = {0, 145, 0};
  colours[3] = {0, 0, 255};
  colours[4] = {255, 0, 0};
  colours[5] = {0, 0, 191};
  colours[6] = {191, 0, 0};
}

void SetPlotBoxGeometry(PictureBox& box, bool plotting) {
  if (plotting) {
    box.Place(40, 4460, 9300, 2200);
  } else {
    box.Place(9000, 6980, 495, 55);
  }
}

void DrawPlotFrame(PictureBox& box) {
  box.Place(40, 4460, 9300, 2200);
  box.Clear();
  box.Scale(0, 3, 25, -3);
  const uint32_t grid = (200u << 16) | (200u << 8) | 200u;
  for (int x = 0; x <= 25; ++x) {
    for (int y = -3; y <= 3; ++y) {
      box.Line(0, y, 25, y, grid);
      box.Line(x, -3, x, 3, grid);
    }
  }
  box.Line(0, 0, 25, 0, (120u << 16) | (120u << 8) | 120u);
}

void DrawFittedFrame(PictureBox& box, const PlotFit& fit) {
  box.Place(40, 4460, 9300, 2200);
  box.Clear();
  box.Scale(fit.Left, fit.Top, fit.Right, fit.Bottom);
  const uint32_t grid = (200u << 16) | (200u << 8) | 200u;
  for (double y = fit.Bottom; y <= fit.Top; ++y) box.Line(fit.Left, y, fit.Right, y, grid);
  for (double x = fit.Left; x <= fit.Right; ++x) box.Line(x, fit.Bottom, x, fit.Top, grid);
  if (fit.Bottom <= fit.ZeroY && fit.ZeroY <= fit.Top) {
    box.Line(fit.Left, fit.ZeroY, fit.Right, fit.ZeroY, (120u << 16) | (120u << 8) | 120u);
  }
}

void SetPlotAxes(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double originJd) {
  PlotAxes& a = box.Axes;
  a.Known = true;
  a.OriginJd = originJd;
  a.YearsPerUnit = s.ScaleYearsPerUnit;
  // A value v is drawn at (v + OffsetArcsec) / ScaleArcsecPerUnit.
  a.ArcsecPerUnit = s.ScaleArcsecPerUnit;
  a.ZeroY = s.OffsetArcsec / s.ScaleArcsecPerUnit;
  a.Fitted = false;
  a.Legend.clear();
  auto colour = [&](int n) { return colours[static_cast<size_t>(n)].Rgb(); };
  // The O-C in right ascension itself, not times cos δ: Δα.
  if (s.ShowL) a.Legend.push_back({colour(s.ColourL), "Δα"});
  if (s.ShowB) a.Legend.push_back({colour(s.ColourB), "Δδ"});
  if (s.ShowT) a.Legend.push_back({colour(s.ColourT), "dT, сек"});
  a.Series = {{"Δα", "″", colour(s.ColourL), 1}, {"Δδ", "″", colour(s.ColourB), 1}, {"dT", " сек", colour(s.ColourT), 1}};
}

void PlotRow(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double& originJd,
             const PlotRowInput& row) {
  const double dt = row.DataFromFile ? (row.ObsJd1Ut - row.ObsJd3) * 24 * 3600 : (row.ObsJd3 - row.ObsJd1Ut) * 24 * 3600;
  if (s.Fit) {
    // Kept for ReplotFitted, which draws them on the scales they need.
    if (s.ShowL) box.Infos.push_back({row.Record, kPlotSeriesL, row.ObsJd1Ut, row.DiffLDeg * 3600});
    if (s.ShowB) box.Infos.push_back({row.Record, kPlotSeriesB, row.ObsJd1Ut, row.DiffBDeg * 3600});
    if (s.ShowT) box.Infos.push_back({row.Record, kPlotSeriesT, row.ObsJd1Ut, dt});
    return;
  }
  double x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  if (x >= 25) {
    originJd = row.ObsJd1Ut;
    DrawPlotFrame(box);
    box.Axes.OriginJd = originJd;
    x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  }
  // The range test subtracts the offset while the plotted value adds it.  A difference it
  // leaves out is marked on the grid's edge, so that no point goes without a trace.
  auto difference = [&](bool shown, double deg, int colour, int32_t series) {
    if (!shown) return;
    const double y = (deg * 3600 + s.OffsetArcsec) / s.ScaleArcsecPerUnit;
    const uint32_t rgb = colours[static_cast<size_t>(colour)].Rgb();
    const PlotPointInfo info{row.Record, series, row.ObsJd1Ut, deg * 3600};
    if (std::fabs((deg * 3600 - s.OffsetArcsec) / s.ScaleArcsecPerUnit) < 3) {
      box.Point(x, y, rgb, info);
    } else {
      box.Mark(x, y, rgb, info);
    }
  };
  difference(s.ShowL, row.DiffLDeg, s.ColourL, kPlotSeriesL);
  difference(s.ShowB, row.DiffBDeg, s.ColourB, kPlotSeriesB);
  if (s.ShowT) {
    box.Point(x, (dt + s.OffsetArcsec) / s.ScaleArcsecPerUnit, colours[static_cast<size_t>(s.ColourT)].Rgb(),
              {row.Record, kPlotSeriesT, row.ObsJd1Ut, dt});
  }
}

bool ReplotFitted(PictureBox& box, const PlotColourTable& colours, PlotSettings& s, double& originJd) {
  // About the fixed grid's 25 by 6 units.
  const PlotFit fit = FitPlot(box.Infos, box.Axes.Series, 25, 6);
  if (!fit.Ok) return false;
  std::vector<PlotPointInfo> points = std::move(box.Infos);
  DrawFittedFrame(box, fit);
  s.ScaleYearsPerUnit = fit.YearsPerUnit;
  s.ScaleArcsecPerUnit = fit.ArcsecPerUnit;
  s.OffsetArcsec = fit.ZeroY * fit.ArcsecPerUnit;
  originJd = fit.OriginJd;
  SetPlotAxes(box, colours, s, originJd);
  box.Axes.Fitted = true;
  box.Infos.reserve(points.size());
  for (const PlotPointInfo& p : points) box.PlotInfo(p);
  return true;
}

namespace {

// Whether a value lies within the grid's height (`closed`: its edges count as within).
bool OnGridHeight(const PictureBox& box, double y, bool closed) {
  const double lo = std::min(box.Top, box.Bottom), hi = std::max(box.Top, box.Bottom);
  return closed ? (lo <= y && y <= hi) : (lo < y && y < hi);
}

}  // namespace

void PlotRejectedMark(PictureBox& box, const PlotSettings& s, double originJd, const PlotRejectedInput& row) {
  const double x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  if (!(x >= box.Left && x < box.Right)) return;
  // About 4 pixels each way on the plot's usual 50 by 21 pixels to a unit.
  constexpr double kHalfX = 0.08, kHalfY = 0.2;
  const uint32_t grey = (128u << 16) | (128u << 8) | 128u;
  auto cross = [&](double arcsec) {
    const double y = (arcsec + s.OffsetArcsec) / s.ScaleArcsecPerUnit;
    if (!OnGridHeight(box, y, false)) return;
    box.Line(x - kHalfX, y - kHalfY, x + kHalfX, y + kHalfY, grey);
    box.Line(x - kHalfX, y + kHalfY, x + kHalfX, y - kHalfY, grey);
  };
  if (s.ShowL && row.HasL) cross(row.DiffLArcsec);
  if (s.ShowB && row.HasB) cross(row.DiffBArcsec);
}

void PlotBand(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double lowArcsec, double highArcsec,
              int colour) {
  const uint32_t rgb = colours[static_cast<size_t>(colour)].Rgb();
  for (double v : {lowArcsec, highArcsec}) {
    const double y = (v + s.OffsetArcsec) / s.ScaleArcsecPerUnit;
    if (!OnGridHeight(box, y, true)) continue;
    // Dashes a quarter of a unit long, a quarter apart, across the grid.
    const int dashes = static_cast<int>(std::lround((box.Right - box.Left) / 0.5));
    for (int k = 0; k < dashes; ++k) box.Line(box.Left + k * 0.5, y, box.Left + k * 0.5 + 0.25, y, rgb);
  }
}

}  // namespace planova
