// Window 1: creates the observation store, imports source data, writes BDL files,
// converts single dates between the calendar and Julian dates, and leads to window 2,
// the help window and out of the program.
#pragma once

#include <array>

#include "astro/astro_state.h"
#include "common/form.h"
#include "common/obs_store.h"

namespace planova {

class Window1Model : public FormModel {
 public:
  Window1Model(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store);

  // Boxes (defaults set by Load).
  TextBox Text3;   // "Имя обсерватории": observatory code
  TextBox Text8;   // "объект наблюдения №": object (body) number
  TextBox Text10;  // N of "Создать массивы с N="
  TextBox Text18;  // "№": number of the source table or file
  TextBox Text11, Text12, Text13;  // "всего данных", "хороших", "плохих "
  TextBox Text9;   // "в файл": name part of the BDL output file
  TextBox Text2;   // "время": time-scale mark
  TextBox Text4;   // "эпоха": epoch mark
  TextBox Text5, Text6, Text7, Text14, Text15, Text16, Text17;  // descriptive BDL fields
  TextBox Text32, Text33, Text34;  // date converter: day with fraction, month, year
  TextBox Text24;  // date converter: JD
  std::array<TextBox, 17> Text1;   // spreadsheet column letter of each table field

  std::array<Label, 20> Labels;    // fixed captions beside the boxes
  Label Label9;                    // "в файл" (its caption changes after an import)
  std::array<Label, 17> Label20;   // captions of the column-letter row

  // Option frames.
  OptionButton Option8, Option9, Option21;       // source: "table Excel", "File JPL", "File Dov"
  OptionButton Option22;                         // source: "File MPC" (80-column optical observations)
  OptionButton Option19, Option18;               // "разделитель в таблицах": "запятая", "точка"
  OptionButton Option17, Option16;               // "Широта задана от": "полюса", "экватора"
  OptionButton Option15, Option14;               // "Широта B": "D", "DMS"
  OptionButton Option2, Option13, Option12;      // "Долгота L ": "DMS", "D", "HMS"
  OptionButton Option11, Option10, Option1;      // "Дата наблюдений в формате": "JD", "YMDay", "YMDHMS"
  OptionButton Option20, Option3;                // "календарь": "Григор", "Юлиан"
  OptionButton Option4, Option5, Option6;        // "по параметру": "RA", "Dec", "Geo"
  CheckBox Check1, Check2, Check3, Check4;       // "+long", "+FileBad", "+Topo", "+Hor"

  RichTextBox RichTextBox1, RichTextBox2, RichTextBox3;  // logs of the last import

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

  AstroState& Astro;
  ObservationStore& Store;
};

}  // namespace planova
