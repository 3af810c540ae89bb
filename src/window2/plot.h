// The plot of the differences O-C of window 2: a grid of 25 x 6 units, time to the right
// in units of ScaleYearsPerUnit years from the run's origin, differences upward in units
// of ScaleArcsecPerUnit arcseconds (seconds of time for time differences), a new page
// when the time axis is full.
#pragma once

#include <array>
#include <cstdint>

#include "common/picture.h"

namespace planova {

struct PlotColour {
  int16_t Red = 0, Green = 0, Blue = 0;
  uint32_t Rgb() const { return (static_cast<uint32_t>(Red) << 16) | (static_cast<uint32_t>(Green) << 8) | static_cast<uint32_t>(Blue); }
};

// The colour table of the points, numbers 0..13.
using PlotColourTable = std::array<PlotColour, 14>;
void InitPlotColours(PlotColourTable& colours);

// The picture box at full size while plotting, or small and out of the way.
void SetPlotBoxGeometry(PictureBox& box, bool plotting);

// Clears the picture and draws the grid (0..25 by -3..3, grey) and the zero line.
void DrawPlotFrame(PictureBox& box);

// What one compared row contributes to the plot.
struct PlotRowInput {
  double ObsJd1Ut;    // date of the observation (data set 1), JD, UT as observed
  double ObsJd3;      // date of the comparison value (data set 3), JD: data set 2's, or ET of the theory
  double DiffLDeg;    // O-C in longitude, degrees
  double DiffBDeg;    // O-C in latitude, degrees
  bool DataFromFile;  // data set 2 is a loaded file (not a theory)
};

struct PlotSettings {
  double ScaleYearsPerUnit = 1;
  double ScaleArcsecPerUnit = 3600;  // arcseconds (seconds of time for dT) per unit
  double OffsetArcsec = 0;           // arcseconds (seconds of time for dT)
  bool ShowL = false, ShowB = false, ShowT = false;
  int ColourL = 2, ColourB = 3, ColourT = 4;
};

// Tells the picture what its axes mean for a run whose time origin is `originJd`:
// years per unit, arcseconds per unit, the offset, and the colours of dL, dB and dT
// that the run plots.
void SetPlotAxes(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double originJd);

// Plots one row; moves `originJd` to the row's date and starts a new page when the row
// lies 25 or more units to the right.
void PlotRow(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double& originJd,
             const PlotRowInput& row);

// A record set aside by the statistics (flagged 'D' or 'd'), drawn over its points.
struct PlotRejectedInput {
  double ObsJd1Ut;          // date of the observation, JD
  double DiffLArcsec;       // O-C in longitude (right ascension), arcseconds
  double DiffBArcsec;       // O-C in latitude (declination), arcseconds
  bool HasL, HasB;          // the coordinates the record holds
};

// A small grey cross over each shown point of a rejected record that lies on the page
// whose time origin is `originJd`, within the grid.
void PlotRejectedMark(PictureBox& box, const PlotSettings& s, double originJd, const PlotRejectedInput& row);

// A band from `lowArcsec` to `highArcsec` (the ±k·σ of a clipping) as two dashed lines
// across the page in colour number `colour`; a line beyond the grid is left out.
void PlotBand(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double lowArcsec, double highArcsec,
              int colour);

}  // namespace planova
