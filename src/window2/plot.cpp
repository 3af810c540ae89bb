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

void SetPlotAxes(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double origin) {
  PlotAxes& a = box.Axes;
  a.Known = true;
  a.OriginJd = origin;
  a.YearsPerUnit = s.ScaleT;
  // A value v is drawn at (v + Offset) / ScaleD.
  a.ArcsecPerUnit = s.ScaleD;
  a.ZeroY = s.Offset / s.ScaleD;
  a.Legend.clear();
  auto colour = [&](int n) { return colours[static_cast<size_t>(n)].Rgb(); };
  if (s.ShowL) a.Legend.push_back({colour(s.ColourL), "dL"});
  if (s.ShowB) a.Legend.push_back({colour(s.ColourB), "dB"});
  if (s.ShowT) a.Legend.push_back({colour(s.ColourT), "dT, сек"});
}

void PlotRow(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double& origin, const PlotRowInput& row) {
  double x = (row.ObsJd1 - origin) / 365.25 / s.ScaleT;
  if (x >= 25) {
    origin = row.ObsJd1;
    DrawPlotFrame(box);
    box.Axes.OriginJd = origin;
    x = (row.ObsJd1 - origin) / 365.25 / s.ScaleT;
  }
  // The range test subtracts the offset while the plotted value adds it.
  if (std::fabs((row.DiffL * 3600 - s.Offset) / s.ScaleD) < 3 && s.ShowL) {
    box.Point(x, (row.DiffL * 3600 + s.Offset) / s.ScaleD, colours[static_cast<size_t>(s.ColourL)].Rgb());
  }
  if (std::fabs((row.DiffB * 3600 - s.Offset) / s.ScaleD) < 3 && s.ShowB) {
    box.Point(x, (row.DiffB * 3600 + s.Offset) / s.ScaleD, colours[static_cast<size_t>(s.ColourB)].Rgb());
  }
  if (s.ShowT) {
    double dt = row.DataFromFile ? (row.ObsJd1 - row.ObsJd3) * 24 * 3600 : (row.ObsJd3 - row.ObsJd1) * 24 * 3600;
    box.Point(x, (dt + s.Offset) / s.ScaleD, colours[static_cast<size_t>(s.ColourT)].Rgb());
  }
}

}  // namespace planova
