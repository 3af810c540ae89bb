// Window 1: creates the observation store, imports source data, writes BDL files,
// converts single dates between the calendar and Julian dates, and leads to window 2,
// the help window and out of the program.
#pragma once

#include <array>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "astro/astronomy.h"
#include "common/form.h"
#include "common/obs_store.h"
#include "import/source_import.h"
#include "models/messages.h"

namespace planova {

// The marks "время" and "эпоха" that the window starts with, and takes again after an
// import of a source that does not name its own.
inline constexpr const char* kDefaultTimeScaleMark = "UT";
inline constexpr const char* kDefaultEpochMark = "App";

// What the name of a source file gives window 1's boxes: the source by the file's folder,
// and the observatory, object, parameter and file number from which the import makes that
// very name (FileDov/PARI11_T_2.txt: File Dov, PARI, 11, Geo with +Topo, file 2).
struct SourceFileBoxes {
  std::string Refusal;  // why the file is refused (empty: it fits)
  SourceKind Source = SourceKind::kDov;
  std::string Code;               // "Имя обсерватории"
  std::optional<int32_t> Object;  // "объект наблюдения №" (JPL files name none)
  std::optional<Parameter> Param;  // "по параметру" (Dov files and tables only) ...
  bool Topo = false, Hor = false;  // ... and under Geo "+Topo", "+Hor"
  std::string FileNumber;          // "№"
};

class Window1Model : public FormModel {
 public:
  Window1Model(Platform& platform, FormHost* host, Astronomy& astro, ObservationStore& store);

  // Boxes (defaults set by Load).
  TextBox observatoryCode;   // "Имя обсерватории": code of the observatory whose source is read
  TextBox objectNumber;      // "объект наблюдения №": number of the observed body
  TextBox arraySize;         // N of "Создать массивы с N=": rows of the observation arrays
  TextBox fileNumber;        // "№": number of the source table or file
  TextBox readCount, goodCount, badCount;  // "всего данных", "хороших", "плохих ": the last import's counts
  TextBox bdlNamePart;       // "в файл": the part of the BDL file's name after "<code><object>_"
  TextBox timeScale;         // "время": time-scale mark of the BDL records ("UT")
  TextBox epoch;             // "эпоха": epoch mark of the BDL records ("App", "J2000")
  // Descriptive fields of the BDL records.
  TextBox instrument;        // "Instrument"
  TextBox focalLengthCm;     // "Focal length in cm."
  TextBox observationType;   // "observation Type Trans, Micro, Photo, CCD"
  TextBox limb;              // "Limb observed C, N, S, E, W"
  TextBox clamp;             // "Clamp Used E or W"
  TextBox observerInitials;  // "obsvr's Initials"
  TextBox reference;         // "Reference"
  // The date converter ("DMY" and "JD").
  TextBox converterDay, converterMonth, converterYear;  // day with its fraction, month, year
  TextBox converterJd;       // Julian date
  std::array<TextBox, 17> columnLetters;  // spreadsheet column letter of each table field

  std::array<Label, 20> boxLabels;        // fixed captions beside the boxes
  Label bdlNameLabel;                     // "в файл" (an import adds the start of the file's name)
  Label statusLine;                       // the source imported, its records and the last file written
  DataStatus Status;                      // what statusLine shows
  std::array<Label, 17> columnLabels;     // captions of the column-letter row

  // "Загрузить исходные данные из": the source.
  OptionButton sourceExcel, sourceJpl, sourceDov;  // "table Excel", "File JPL", "File Dov"
  OptionButton sourceMpc;                          // "File MPC" (80-column optical observations)
  OptionButton sourceAdes;                         // "File ADES" (ADES PSV or XML optical observations)
  // The form of the source's values.
  OptionButton separatorComma, separatorPoint;     // "разделитель в таблицах": "запятая", "точка"
  OptionButton latitudeFromPole, latitudeFromEquator;  // "Широта задана от": "полюса", "экватора"
  OptionButton latitudeDegrees, latitudeDms;       // "Широта B": "D", "DMS"
  OptionButton longitudeDms, longitudeDegrees, longitudeHms;  // "Долгота L ": "DMS", "D", "HMS"
  OptionButton dateJd, dateYmday, dateYmdhms;      // "Дата наблюдений в формате": "JD", "YMDay", "YMDHMS"
  OptionButton calendarGregorian, calendarJulian;  // "календарь": "Григор", "Юлиан"
  OptionButton parameterRa, parameterDec, parameterGeo;  // "по параметру": "RA", "Dec", "Geo"
  CheckBox dovLongVariant;       // "+long": Dov lines of the wider variant
  CheckBox writeBadRecordsFile;  // "+FileBad": rejected records counted and written to Dat\Bad_data_
  CheckBox topocentricSource;    // "+Topo": under "Geo", the source of topocentric places ("_T_")
  CheckBox horizontalSource;     // "+Hor": under "Geo", the source of horizontal places ("_H_")

  // Logs of the last import; the third shows the lines a save wrote, or the converter's report.
  RichTextBox sourceLog, acceptedLog, rejectedOrSavedLog;

  // Start-up: the default texts and choices.
  void Load();

  // Buttons (their captions stand in the button table of window1_model.cpp).
  void CreateArrays();
  void LoadSourceData();
  void SaveBdl();
  void ConvertCatalogue();
  void GregorianToJd();
  void JdToGregorian();
  void OpenWindow2();
  void About();
  void Exit();
  // "Открыть…": a source file chosen in its folder fills the source, observatory, object,
  // parameter and file number; "Выбрать…": a BDL file chosen for the save fills "в файл";
  // "Недавние": a file imported or written lately, as either of them.
  void OpenSource();
  void ChooseBdlTarget();
  void OpenRecent();

  // Reads a source file's name (absolute, or relative to the application folder) by the
  // pattern of the folder it lies in; `codeNow` is the code in the box, taken first where
  // a name could be split more than one way.
  static SourceFileBoxes ReadSourceFileName(const std::filesystem::path& file, const std::filesystem::path& appFolder,
                                            const std::string& codeNow);

  Astronomy& Astro;
  ObservationStore& Store;

 private:
  // The boxes of a chosen source file, or of a chosen BDL file to write; a refusal saying
  // why leaves every box as it was.
  void FillFromSourceFile(const std::filesystem::path& file);
  void FillFromBdlTarget(const std::filesystem::path& file);
  // The observatory and object a BDL file is written for: those of the last import
  // (SaveBdl), before any import those of the boxes.
  void BdlFileOwner(std::string& code, int32_t& object) const;
};

}  // namespace planova
