// The plot of the differences O-C of window 2: a grid of 25 x 6 units, time to the right
// in units of ScaleYearsPerUnit years from the run's origin, differences upward in units
// of ScaleArcsecPerUnit arcseconds (seconds of time for time differences), a new page
// when the time axis is full.  With "по данным" the run's points are kept and drawn
// again, as the run goes and at its end, on scales and a grid chosen to fit them
// (FitPlot), on one page.
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
// Clears the picture and draws the grid of a fitted plot and its zero line (when the
// grid reaches it).
void DrawFittedFrame(PictureBox& box, const PlotFit& fit);

// The series of the plot's points, in PlotPointInfo::Series: right ascension (the
// program's longitude), declination and time.
inline constexpr int32_t kPlotSeriesL = 0, kPlotSeriesB = 1, kPlotSeriesT = 2;

// What one compared row contributes to the plot.
struct PlotRowInput {
  double ObsJd1Ut;    // date of the observation (data set 1), JD, UT as observed
  double ObsJd3;      // date of the comparison value (data set 3), JD: data set 2's, or ET of the theory
  double DiffLDeg;    // O-C in longitude, degrees
  double DiffBDeg;    // O-C in latitude, degrees
  bool DataFromFile;  // data set 2 is a loaded file (not a theory)
  int32_t Record = 0;  // the row of data set 1, for the readout under the mouse
};

struct PlotSettings {
  double ScaleYearsPerUnit = 1;
  double ScaleArcsecPerUnit = 3600;  // arcseconds (seconds of time for dT) per unit
  double OffsetArcsec = 0;           // arcseconds (seconds of time for dT)
  bool ShowL = false, ShowB = false, ShowT = false;
  int ColourL = 2, ColourB = 3, ColourT = 4;
  bool Fit = false;  // "по данным": the scales fit the run's points
};

// Tells the picture what its axes mean for a run whose time origin is `originJd`:
// years per unit, arcseconds per unit, the offset, and the colours of Δα, Δδ and dT
// that the run plots (the legend) and of its three series.
void SetPlotAxes(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double originJd);

// Plots one row; moves `originJd` to the row's date and starts a new page when the row
// lies 25 or more units to the right.  A difference the range rule leaves out is marked
// on the grid's edge.  With "по данным" the row's values are only kept (box.Infos) for
// ReplotFitted.
void PlotRow(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double& originJd,
             const PlotRowInput& row);

// With "по данным": the points kept so far drawn again on scales that fit them; the
// settings and `originJd` take the fitted scales, so that the marks and bands drawn
// after it lie on the same axes.  False (nothing changed) when there is no point yet.
bool ReplotFitted(PictureBox& box, const PlotColourTable& colours, PlotSettings& s, double& originJd);

// A record set aside by the statistics (flagged 'D' or 'd'), drawn over its points.
struct PlotRejectedInput {
  double ObsJd1Ut;          // date of the observation, JD
  double DiffLArcsec;       // O-C in longitude (right ascension), arcseconds
  double DiffBArcsec;       // O-C in latitude (declination), arcseconds
  bool HasL, HasB;          // the coordinates the record holds
};

// A small grey cross over each shown point of a rejected record that lies on the page
// whose time origin is `originJd`, within the grid (the box's user scale).
void PlotRejectedMark(PictureBox& box, const PlotSettings& s, double originJd, const PlotRejectedInput& row);

// A band from `lowArcsec` to `highArcsec` (the ±k·σ of a clipping) as two dashed lines
// across the grid in colour number `colour`; a line beyond the grid is left out.
void PlotBand(PictureBox& box, const PlotColourTable& colours, const PlotSettings& s, double lowArcsec, double highArcsec,
              int colour);

}  // namespace planova
