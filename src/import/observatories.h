// Observatories by their codes: where the observations of a BDL file were made.
//
// Two lists, both in the application folder's root:
//  - Observatories.txt, the program's own table (Windows-1251, CR LF, fixed columns, decimal
//    comma, ";" comment lines): code of up to 4 characters, east longitude and latitude in
//    degrees as window 2 shows them, height in metres, the site's MPC code, name.  Without
//    the file the program takes its built-in table (DefaultObservatoryTableText), the one
//    the file ships with.
//  - ObsCodes.html, the Minor Planet Center's list of observatory codes: code (columns 1-3),
//    east longitude in degrees (5-13), the parallax constants rho cos phi' (14-21) and
//    rho sin phi' (22-30) in Earth equatorial radii, name (31-), between "<pre>" and "</pre>"
//    after a heading line.  Space and roving observers have blank coordinates.
// A code is looked up in the program's table first, then among the MPC's codes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "astro/observer.h"

namespace planova {

constexpr std::string_view kObservatoryTableFile = "Observatories.txt";
constexpr std::string_view kMpcObsCodesFile = "ObsCodes.html";

// Why a line of either file was refused.
enum class ObservatoryFault {
  kShortLine,        // ObsCodes: the line ends before column 30
  kBadCode,          // a code that is empty, too long or holds blanks or other signs
  kBadNumber,        // a field that is no number (or is blank beside filled ones)
  kLongitudeRange,   // ObsCodes: outside 0..360; the program's table: outside -180..360
  kRhoRange,         // ObsCodes: rho cos phi' below 0 or rho beyond 1.01 Earth radii
  kLatitudeRange,    // outside -90..90
  kHeightRange,      // outside -500..9000 m
  kBadMpcCode,       // the program's table: an MPC code that is not 3 letters or digits
  kDuplicateCode,    // the code was listed above in the same file
};

struct ObservatoryProblem {
  std::string File;  // kObservatoryTableFile or kMpcObsCodesFile
  int Line = 0;      // 1-based line of the file
  ObservatoryFault Fault = ObservatoryFault::kBadNumber;
};

struct Observatory {
  std::string Code;
  bool HasCoordinates = true;  // false for the MPC's space and roving observers
  ObserverSite Site;
  std::string LonText, LatText;  // the program's table: its texts (decimal comma); ObsCodes: see Find
  double HeightM = 0;            // the program's table (0 where blank)
  std::string MpcCode;           // the program's table; ObsCodes: the code itself
  std::string Name;              // Windows-1251 bytes
};

struct ObservatoryRows {
  std::vector<Observatory> Rows;
  std::vector<ObservatoryProblem> Problems;
};

// Given: the lines of a file (bytes, without line ends).  Returned: its observatories and
// the lines refused, each refused line skipped and the rest kept.
ObservatoryRows ParseObsCodes(const std::vector<std::string>& lines);
ObservatoryRows ParseObservatoryTable(const std::vector<std::string>& lines);

// The text of the program's own Observatories.txt (Windows-1251, CR LF): the table the
// program uses when the application folder has none.  sample/Observatories.txt holds it.
std::string DefaultObservatoryTableText();

enum class ObservatoryFindEnd {
  kFound,
  kUnknownCode,     // in neither list
  kNoCoordinates,   // an MPC code of a space or roving observer
};

struct ObservatoryFind {
  ObservatoryFindEnd End = ObservatoryFindEnd::kUnknownCode;
  ObserverSite Site;
  std::string Name;              // Windows-1251 bytes
  std::string LonText, LatText;  // what window 2 shows as "ObsL" and "ObsB"
  bool Found() const { return End == ObservatoryFindEnd::kFound; }
};

struct ObservatoryList {
  std::vector<Observatory> Program;  // Observatories.txt, or the built-in table
  std::vector<Observatory> Mpc;      // ObsCodes.html (empty without the file)
  bool ProgramFromFile = false;
  std::vector<ObservatoryProblem> Problems;

  // The program's table first, then the MPC's codes.  For an MPC site the longitude is
  // shown east positive from -180 to 180, the list's decimals kept ("282.9345" ->
  // "-77,0655"), and the latitude is the geodetic one of its parallax constants to four
  // decimals ("48,8364"); the geocentre (code 500) shows latitude "0,0000".
  ObservatoryFind Find(std::string_view code) const;
};

// Reads Observatories.txt (or takes the built-in table) and ObsCodes.html of an
// application folder.  A file that cannot be opened counts as absent.
ObservatoryList LoadObservatories(const std::filesystem::path& appFolder);

// The observers of the records of a data set, for places seen from each record's station.
// Each record's own station (ObservationStore::ObsStation) is looked up in the list; a
// record that names none was observed at the store's observatory (ObservatoryCode), or,
// when the lists do not know that code, at `windowSite` (the window's typed longitude and
// latitude).  The first record whose station cannot be placed stops the resolution: a
// code in neither list, or a space or roving observer.
struct RecordObservers {
  bool Ok = true;
  // When not Ok: the row, the code (UTF-8) and why.
  int32_t FailedRow = 0;
  std::string FailedCode;
  ObservatoryFindEnd Why = ObservatoryFindEnd::kFound;

  std::vector<ObserverSite> Sites;  // each distinct site once
  std::vector<std::string> Codes;   // its code, as Sites (the window's site: the store's code)
  std::vector<uint16_t> SiteOfRow;  // rows first..last: index into Sites
  int32_t First = 0;

  // Given: a row within first..last.  Returned: the index into Sites and Codes.
  size_t IndexOf(int32_t row) const { return SiteOfRow[static_cast<size_t>(row - First)]; }
};
struct ObservationStore;
RecordObservers ResolveRecordObservers(const ObservatoryList& list, const ObservationStore& store, int column,
                                       int32_t first, int32_t last, const std::optional<ObserverSite>& windowSite);

}  // namespace planova
