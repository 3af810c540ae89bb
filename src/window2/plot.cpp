#include "window2/plot.h"

#include <cmath>

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

void SetPlotAxes(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double originJd) {
  PlotAxes& a = box.Axes;
  a.Known = true;
  a.OriginJd = originJd;
  a.YearsPerUnit = s.ScaleYearsPerUnit;
  // A value v is drawn at (v + OffsetArcsec) / ScaleArcsecPerUnit.
  a.ArcsecPerUnit = s.ScaleArcsecPerUnit;
  a.ZeroY = s.OffsetArcsec / s.ScaleArcsecPerUnit;
  a.Legend.clear();
  auto colour = [&](int n) { return colours[static_cast<size_t>(n)].Rgb(); };
  if (s.ShowL) a.Legend.push_back({colour(s.ColourL), "dL"});
  if (s.ShowB) a.Legend.push_back({colour(s.ColourB), "dB"});
  if (s.ShowT) a.Legend.push_back({colour(s.ColourT), "dT, сек"});
}

void PlotRow(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double& originJd,
             const PlotRowInput& row) {
  double x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  if (x >= 25) {
    originJd = row.ObsJd1Ut;
    DrawPlotFrame(box);
    box.Axes.OriginJd = originJd;
    x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  }
  // The range test subtracts the offset while the plotted value adds it.
  if (std::fabs((row.DiffLDeg * 3600 - s.OffsetArcsec) / s.ScaleArcsecPerUnit) < 3 && s.ShowL) {
    box.Point(x, (row.DiffLDeg * 3600 + s.OffsetArcsec) / s.ScaleArcsecPerUnit, colours[static_cast<size_t>(s.ColourL)].Rgb());
  }
  if (std::fabs((row.DiffBDeg * 3600 - s.OffsetArcsec) / s.ScaleArcsecPerUnit) < 3 && s.ShowB) {
    box.Point(x, (row.DiffBDeg * 3600 + s.OffsetArcsec) / s.ScaleArcsecPerUnit, colours[static_cast<size_t>(s.ColourB)].Rgb());
  }
  if (s.ShowT) {
    double dt = row.DataFromFile ? (row.ObsJd1Ut - row.ObsJd3) * 24 * 3600 : (row.ObsJd3 - row.ObsJd1Ut) * 24 * 3600;
    box.Point(x, (dt + s.OffsetArcsec) / s.ScaleArcsecPerUnit, colours[static_cast<size_t>(s.ColourT)].Rgb());
  }
}

namespace {

constexpr double kGridHalfHeight = 3, kGridWidth = 25;

}  // namespace

void PlotRejectedMark(PictureBox& box, const PlotSettings& s, double originJd, const PlotRejectedInput& row) {
  const double x = (row.ObsJd1Ut - originJd) / 365.25 / s.ScaleYearsPerUnit;
  if (!(x >= 0 && x < kGridWidth)) return;
  // About 4 pixels each way on the plot's usual 50 by 21 pixels to a unit.
  constexpr double kHalfX = 0.08, kHalfY = 0.2;
  const uint32_t grey = (128u << 16) | (128u << 8) | 128u;
  auto cross = [&](double arcsec) {
    const double y = (arcsec + s.OffsetArcsec) / s.ScaleArcsecPerUnit;
    if (!(std::fabs(y) < kGridHalfHeight)) return;
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
    if (!(std::fabs(y) <= kGridHalfHeight)) continue;
    // Dashes a quarter of a unit long, a quarter apart.
    for (int k = 0; k < 50; ++k) box.Line(k * 0.5, y, k * 0.5 + 0.25, y, rgb);
  }
}

}  // namespace planova
