// Window 1: creates the observation store, imports source data, writes BDL files,
// converts single dates between the calendar and Julian dates, and leads to window 2,
// the help window and out of the program.
#pragma once

#include <array>
#include <initializer_list>
#include <string_view>

#include "astro/astronomy.h"
#include "common/form.h"
#include "common/obs_store.h"
#include "models/messages.h"

namespace planova {

// The marks "время" and "эпоха" that the window starts with, and takes again after an
// import of a source that does not name its own.
inline constexpr const char* kDefaultTimeScaleMark = "UT";
inline constexpr const char* kDefaultEpochMark = "App";

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

  Astronomy& Astro;
  ObservationStore& Store;

 private:
};

}  // namespace planova
