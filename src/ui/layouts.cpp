#include "ui/layouts.h"

#include <cmath>
#include <string_view>

namespace planova::ui {

const WindowLayout& LayoutOf(const std::string& form) {
  // The tables go down each window a row of controls to a line (a long row goes on,
  // indented), a frame with the controls it holds on a line of its own.
  static const WindowLayout kWindow1Layout{1140, 744, {
      {"Command2", 10, 10, 190, 28}, {"Text10", 205, 12, 70, 24},
      {"Label1", 10, 48, 135, 20}, {"Text3", 145, 46, 80, 24}, {"Label2", 235, 48, 150, 20}, {"Text8", 385, 46, 50, 24},
      {"Command3", 10, 84, 235, 28},
      {"Frame1", 250, 72, 500, 44}, {"Option8", 258, 88, 100, 22}, {"Option9", 362, 88, 88, 22}, {"Option21", 454, 88, 95, 22}, {"Option22", 553, 88, 95, 22},
          {"Option23", 652, 88, 95, 22},
      {"Label3", 756, 90, 20, 20}, {"Text18", 776, 88, 40, 24}, {"Command19", 822, 84, 92, 28}, {"Command20", 918, 84, 95, 28},
      {"Check1", 560, 124, 75, 22}, {"Command5", 645, 120, 60, 28}, {"Command22", 1000, 120, 130, 28}, {"Label4", 10, 126, 100, 20}, {"Text11", 110, 124, 60, 24}, {"Label5", 180, 126, 70, 20}, {"Text12", 250, 124, 60, 24},
          {"Label6", 320, 126, 60, 20}, {"Text13", 380, 124, 60, 24}, {"Check2", 450, 124, 95, 22},
      {"Frame2", 10, 156, 175, 76}, {"Option19", 20, 178, 150, 22}, {"Option18", 20, 202, 150, 22},
      {"Frame3", 190, 156, 140, 76}, {"Option17", 200, 178, 120, 22}, {"Option16", 200, 202, 120, 22},
      {"Frame4", 335, 156, 95, 76}, {"Option15", 345, 178, 75, 22}, {"Option14", 345, 202, 75, 22},
      {"Frame5", 435, 156, 95, 98}, {"Option2", 445, 178, 75, 22}, {"Option13", 445, 202, 75, 22}, {"Option12", 445, 226, 75, 22},
      {"Frame6", 535, 156, 205, 98}, {"Option11", 545, 178, 120, 22}, {"Option10", 545, 202, 120, 22}, {"Option1", 545, 226, 120, 22},
      {"Frame7", 745, 156, 105, 76}, {"Option20", 755, 178, 90, 22}, {"Option3", 755, 202, 90, 22},
      {"Frame8", 855, 156, 120, 98}, {"Option4", 865, 178, 100, 22}, {"Option5", 865, 202, 100, 22}, {"Option6", 865, 226, 100, 22},
      {"Check3", 985, 178, 90, 22}, {"Check4", 985, 202, 90, 22},
      {"Label20(0)", 10, 262, 64, 18}, {"Text1(0)", 10, 282, 54, 24}, {"Label20(1)", 76, 262, 64, 18}, {"Text1(1)", 76, 282, 54, 24},
          {"Label20(2)", 142, 262, 64, 18}, {"Text1(2)", 142, 282, 54, 24}, {"Label20(3)", 208, 262, 64, 18}, {"Text1(3)", 208, 282, 54, 24},
          {"Label20(4)", 274, 262, 64, 18}, {"Text1(4)", 274, 282, 54, 24}, {"Label20(5)", 340, 262, 64, 18}, {"Text1(5)", 340, 282, 54, 24},
          {"Label20(6)", 406, 262, 64, 18}, {"Text1(6)", 406, 282, 54, 24}, {"Label20(7)", 472, 262, 64, 18}, {"Text1(7)", 472, 282, 54, 24},
          {"Label20(8)", 538, 262, 64, 18}, {"Text1(8)", 538, 282, 54, 24}, {"Label20(9)", 604, 262, 64, 18}, {"Text1(9)", 604, 282, 54, 24},
          {"Label20(10)", 670, 262, 64, 18}, {"Text1(10)", 670, 282, 54, 24}, {"Label20(11)", 736, 262, 64, 18}, {"Text1(11)", 736, 282, 54, 24},
          {"Label20(12)", 802, 262, 64, 18}, {"Text1(12)", 802, 282, 54, 24}, {"Label20(13)", 868, 262, 64, 18}, {"Text1(13)", 868, 282, 54, 24},
          {"Label20(14)", 934, 262, 64, 18}, {"Text1(14)", 934, 282, 54, 24}, {"Label20(15)", 1000, 262, 64, 18}, {"Text1(15)", 1000, 282, 54, 24},
          {"Label20(16)", 1066, 262, 64, 18}, {"Text1(16)", 1066, 282, 54, 24},
      {"Command4", 10, 318, 255, 28}, {"Label9", 275, 322, 135, 20}, {"Text9", 412, 320, 90, 24}, {"Command21", 506, 318, 84, 28}, {"Label7", 595, 322, 50, 20}, {"Text2", 645, 320, 50, 24},
          {"Label8", 710, 322, 50, 20}, {"Text4", 760, 320, 60, 24},
          {"Label30", 830, 316, 300, 44},  // the status line: the source imported, the last write
      {"Label10", 10, 358, 80, 20}, {"Text5", 90, 356, 140, 24}, {"Label11", 240, 358, 135, 20}, {"Text6", 375, 356, 60, 24}, {"Label12", 445, 358, 285, 20},
          {"Text7", 730, 356, 80, 24},
      {"Label13", 10, 390, 195, 20}, {"Text14", 205, 388, 40, 24}, {"Label14", 255, 390, 130, 20}, {"Text15", 385, 388, 40, 24}, {"Label15", 435, 390, 110, 20},
          {"Text16", 545, 388, 70, 24}, {"Label16", 625, 390, 75, 20}, {"Text17", 700, 388, 120, 24},
      {"Label17", 740, 14, 35, 20}, {"Text32", 775, 12, 60, 24}, {"Text33", 840, 12, 40, 24}, {"Text34", 885, 12, 60, 24}, {"Command17", 950, 10, 60, 28},
      {"Label18", 740, 48, 35, 20}, {"Text24", 775, 46, 170, 24}, {"Command18", 950, 44, 60, 28},
      {"Command1", 1020, 10, 110, 28},
      {"Command8", 1020, 44, 110, 28},
      {"Command9", 1020, 84, 110, 28},
      {"RichTextBox1", 10, 424, 370, 310}, {"RichTextBox2", 385, 424, 370, 310}, {"RichTextBox3", 760, 424, 370, 310},
  },
  // The three panes take the extra width in equal thirds and the extra height whole;
  // everything above them keeps its place.  Smallest: panes 130 pixels high.
  {
      {"RichTextBox1", 0, 1. / 3, 0, 1, 0, 1},
      {"RichTextBox2", 1. / 3, 2. / 3, 0, 1, 0, 1},
      {"RichTextBox3", 2. / 3, 1, 0, 1, 0, 1},
  },
  1140, 744 - 180};
  static const WindowLayout kHelpLayout{900, 574, {
      {"Text1", 8, 8, 884, 520},
      {"Command1", 392, 536, 116, 30},
  },
  // The text takes the extra width and height; the button stays centred under it.
  {
      {"Text1", 0, 1, 0, 1, 0, 1},
      {"Command1", 0.5, 0.5, 1, 1, 1, 1},
  },
  900, 574 - 300};
  static const WindowLayout kWindow2Layout{1278, 1000, {
      {"Command6", 8, 8, 185, 28}, {"Text10", 198, 10, 60, 24},
      {"Command5", 8, 42, 185, 28},
      {"Frame1", 198, 34, 205, 70}, {"Option1", 206, 52, 192, 22}, {"Option2", 206, 76, 60, 22},
      {"Label1", 8, 112, 125, 20}, {"Text3", 133, 110, 70, 24}, {"Label2", 212, 112, 75, 20}, {"Text8", 287, 110, 45, 24},
      {"Label3", 8, 142, 70, 20}, {"Text1", 80, 140, 60, 24}, {"Command21", 150, 138, 90, 28}, {"Command22", 245, 138, 95, 28},
      {"Frame3", 8, 166, 245, 50}, {"Option8", 14, 186, 50, 22}, {"Option9", 66, 186, 55, 22}, {"Option10", 123, 186, 58, 22}, {"Option29", 183, 186, 60, 22},
      {"Frame4", 8, 220, 245, 50}, {"Option11", 14, 240, 45, 22}, {"Option12", 62, 240, 55, 22}, {"Option13", 120, 240, 50, 22}, {"Option14", 174, 240, 45, 22},
      {"Label4", 8, 282, 40, 20}, {"Text14", 48, 280, 75, 24}, {"Label5", 133, 282, 40, 20}, {"Text15", 173, 280, 75, 24},
      {"Label6", 8, 312, 50, 20}, {"Text11", 58, 310, 50, 24}, {"Label7", 118, 312, 50, 20}, {"Text12", 168, 310, 70, 24},
      // The residual statistics: the k·σ clipping and the records excluded by hand.
      {"Check18", 8, 346, 150, 22}, {"Text28", 160, 345, 40, 24}, {"Check20", 210, 346, 120, 22},
      {"Label24", 8, 380, 100, 20}, {"Text29", 110, 378, 290, 24},
      {"Label25", 8, 416, 815, 20},  // the status line: the file loaded, the last write
      {"Label11", 410, 12, 95, 20}, {"Text5", 505, 10, 60, 24}, {"Command20", 580, 8, 120, 28}, {"Command17", 710, 8, 80, 28},
      {"Command2", 410, 42, 165, 28},
      {"Frame8", 580, 34, 230, 40}, {"Option18", 588, 50, 100, 22}, {"Option19", 695, 50, 100, 22},
      {"Command15", 410, 82, 165, 28},
      {"Frame11", 580, 74, 230, 40}, {"Option24", 588, 90, 45, 22}, {"Option25", 635, 90, 80, 22}, {"Option26", 718, 90, 85, 22},
      {"Label12", 410, 122, 75, 20}, {"Text18", 485, 120, 90, 24},
      {"Frame9", 580, 114, 100, 40}, {"Option20", 588, 130, 40, 22}, {"Option21", 632, 130, 40, 22},
      {"Command4", 410, 160, 400, 28},
      {"Command10", 410, 196, 165, 28},
      {"Frame7", 580, 188, 230, 40}, {"Option16", 588, 204, 70, 22}, {"Option15", 662, 204, 50, 22}, {"Option17", 715, 204, 70, 22},
      {"Label13", 410, 236, 30, 20}, {"Text23", 440, 234, 55, 24}, {"Label14", 500, 236, 45, 20}, {"Text22", 545, 234, 35, 24}, {"Label15", 585, 236, 35, 20},
          {"Text21", 620, 234, 55, 24},
      {"Frame10", 685, 228, 125, 46}, {"Option23", 692, 246, 65, 22}, {"Option22", 758, 246, 48, 22},
      {"Command18", 410, 280, 100, 28}, {"Command19", 515, 280, 100, 28}, {"Command11", 620, 280, 95, 28}, {"Command13", 720, 280, 95, 28},
      {"Command3", 410, 314, 165, 28}, {"Check1", 585, 316, 80, 22},
      {"Command14", 410, 348, 165, 28}, {"Label10", 585, 352, 30, 20}, {"Text16", 615, 350, 55, 24}, {"Label8", 680, 352, 35, 20}, {"Text17", 715, 350, 60, 24},
      {"Label9", 410, 386, 150, 20}, {"Text2", 560, 384, 110, 24}, {"Check12", 680, 384, 140, 22},
      {"Frame5", 830, 2, 200, 46}, {"Option6", 838, 22, 70, 22}, {"Option5", 910, 22, 100, 22},
      {"Frame6", 1040, 2, 230, 66}, {"Option3", 1048, 22, 100, 22}, {"Option4", 1150, 22, 70, 22}, {"Option7", 1048, 44, 120, 22},
      {"Label23", 830, 50, 75, 20}, {"Combo1", 905, 47, 125, 24},
      {"Frame2", 830, 72, 440, 82}, {"Check8", 838, 92, 100, 22}, {"Text9", 940, 92, 70, 24}, {"Check9", 1050, 92, 100, 22}, {"Text13", 1150, 92, 70, 24},
          {"Check6", 838, 122, 100, 22}, {"Text4", 940, 122, 70, 24}, {"Check7", 1050, 122, 100, 22}, {"Text7", 1150, 122, 70, 24},
      {"Check3", 830, 162, 80, 22}, {"Check11", 915, 162, 70, 22}, {"Check13", 990, 162, 90, 22}, {"Check14", 1085, 162, 150, 22},
      {"Check2", 830, 190, 95, 22}, {"Label16", 930, 192, 60, 20}, {"Text27", 990, 190, 60, 24}, {"Check15", 1070, 190, 190, 22},
      {"Command12", 830, 222, 250, 28}, {"Command7", 1090, 222, 80, 28},
      {"Command16", 830, 256, 130, 28}, {"Command8", 970, 256, 80, 28}, {"Command1", 1060, 256, 100, 28}, {"Command9", 1170, 256, 100, 28},
      {"Label17", 830, 294, 85, 20}, {"Text19", 915, 292, 50, 24}, {"Label19", 975, 294, 130, 20}, {"Text6", 1105, 292, 60, 24},
          {"Check21", 1172, 292, 98, 22},  // "по данным": the plot's scales fit the run
      {"Label18", 830, 324, 240, 20}, {"Text20", 1070, 322, 70, 24}, {"Command23", 1148, 320, 122, 28},
      {"Label20", 830, 354, 55, 20}, {"Text24", 885, 352, 30, 24}, {"Label21", 925, 354, 55, 20}, {"Text25", 980, 352, 30, 24}, {"Label22", 1020, 354, 55, 20},
          {"Text26", 1075, 352, 30, 24}, {"Check4", 1115, 354, 45, 22}, {"Check5", 1162, 354, 45, 22}, {"Check10", 1209, 354, 45, 22},
      {"ProgressBar1", 830, 386, 440, 24},
      // The place kind, the ET-UT and the observer of the rigorous reduction, under the
      // theory's boxes.
      {"Check16", 830, 416, 180, 22}, {"Check17", 1012, 416, 150, 22}, {"Check19", 1164, 416, 106, 22},
      {"Picture1", 8, 444, 1262, 300},
      {"RichTextBox1", 8, 752, 415, 240}, {"RichTextBox2", 430, 752, 415, 240}, {"RichTextBox3", 852, 752, 418, 240},
  },
  // The plot takes the extra width and half the extra height; the three panes below it
  // move down by that half, take the other half and share the width in thirds.  The
  // controls above the plot keep their places.  Made smaller, the panes give their height
  // down to 110 pixels while the plot keeps its 300; below that the window scrolls (on a
  // 1366 x 768 screen the plot is whole one scroll down, the panes below it).
  {
      {"Picture1", 0, 1, 0, 0.5, 0, 0},
      {"RichTextBox1", 0, 1. / 3, 0.5, 1, 0, 1},
      {"RichTextBox2", 1. / 3, 2. / 3, 0.5, 1, 0, 1},
      {"RichTextBox3", 2. / 3, 1, 0.5, 1, 0, 1},
  },
  1278, 1000 - 130};
  static const WindowLayout kWindow3Layout{1180, 900, {
      {"Command6", 10, 10, 190, 28}, {"Text10", 205, 12, 70, 24}, {"Label1", 290, 14, 130, 20}, {"Text3", 420, 12, 70, 24}, {"Label2", 500, 14, 80, 20},
          {"Text8", 580, 12, 50, 24}, {"Label3", 640, 14, 60, 20}, {"Text1", 700, 12, 50, 24}, {"Command19", 760, 10, 90, 28},
          {"Command20", 855, 10, 95, 28}, {"Command21", 1040, 10, 130, 28},
      {"Command5", 10, 46, 190, 28}, {"Command14", 205, 46, 205, 28}, {"Label4", 420, 50, 40, 20}, {"Text2", 460, 48, 50, 24}, {"Label5", 520, 50, 40, 20},
          {"Text16", 560, 48, 60, 24}, {"Label6", 630, 50, 45, 20}, {"Text17", 675, 48, 60, 24},
      {"Label7", 10, 86, 170, 20}, {"Text23", 180, 84, 60, 24}, {"Text22", 245, 84, 40, 24}, {"Text21", 290, 84, 150, 24}, {"Label8", 455, 86, 170, 20},
          {"Text26", 625, 84, 60, 24}, {"Text25", 690, 84, 40, 24}, {"Text24", 735, 84, 150, 24},
      {"Label10", 10, 122, 170, 20}, {"Text29", 180, 120, 60, 24}, {"Text28", 245, 120, 40, 24}, {"Text27", 290, 120, 150, 24}, {"Label11", 455, 122, 70, 20},
          {"Text5", 525, 120, 60, 24}, {"Label12", 600, 122, 80, 20}, {"Text18", 680, 120, 150, 24}, {"Check3", 840, 120, 90, 22},
          {"Check12", 935, 120, 170, 22},
      // Above "точно (IAU 2006)": the place kind it serves, and the ET-UT from the table.
      {"Check14", 935, 48, 170, 22}, {"Check13", 935, 84, 220, 22}, {"Check16", 745, 48, 120, 22},
      {"Command12", 10, 158, 240, 28},
      {"Frame5", 255, 146, 150, 46}, {"Option4", 263, 164, 65, 22}, {"Option7", 333, 164, 65, 22},
      {"Check6", 415, 162, 60, 22}, {"Check2", 480, 162, 90, 22}, {"Command16", 575, 158, 130, 28}, {"Command7", 710, 158, 185, 28},
          {"Command17", 900, 158, 70, 28}, {"Label28", 975, 162, 75, 20}, {"Combo1", 1050, 160, 120, 24},
      {"Check1", 10, 200, 220, 22}, {"Label13", 240, 202, 40, 20}, {"Text30", 280, 200, 60, 24}, {"Label14", 350, 202, 40, 20}, {"Text31", 390, 200, 60, 24},
          {"Label15", 460, 202, 40, 20}, {"Text11", 500, 200, 60, 24}, {"Label16", 570, 202, 40, 20}, {"Text12", 610, 200, 60, 24},
          {"Command18", 685, 197, 230, 28},
      {"Check10", 10, 234, 220, 22}, {"Label17", 240, 236, 40, 20}, {"Text41", 280, 234, 60, 24}, {"Label18", 350, 236, 40, 20}, {"Text42", 390, 234, 60, 24},
          {"Label19", 460, 236, 40, 20}, {"Text43", 500, 234, 60, 24}, {"Label20", 570, 236, 40, 20}, {"Text44", 610, 234, 60, 24},
          {"Check15", 685, 234, 150, 22}, {"Text45", 840, 234, 45, 24}, {"Check17", 895, 234, 130, 22},
      {"Label21", 10, 270, 35, 20}, {"Text7", 45, 268, 110, 24}, {"Label22", 165, 270, 35, 20}, {"Text9", 200, 268, 110, 24}, {"Label23", 320, 270, 45, 20},
          {"Text32", 365, 268, 110, 24}, {"Label24", 485, 270, 45, 20}, {"Text33", 530, 268, 110, 24},
          {"Label40", 650, 264, 520, 40},  // the status line: the file loaded, the last write
      {"Check4", 10, 304, 50, 22}, {"Check5", 65, 304, 50, 22}, {"Check9", 120, 304, 65, 22}, {"Check11", 190, 304, 65, 22}, {"Check7", 260, 304, 75, 22},
          {"Check18", 340, 304, 95, 22},  // "по данным": the plot's scales fit the run
          {"Label25", 440, 306, 90, 20}, {"Text19", 532, 304, 45, 24}, {"Label26", 587, 306, 128, 20}, {"Text20", 720, 304, 45, 24},
          {"Label27", 775, 306, 55, 20}, {"Text6", 830, 304, 40, 24}, {"Command1", 880, 300, 145, 28}, {"Command9", 1030, 300, 140, 28},
      {"ProgressBar1", 10, 338, 1160, 18},
      {"Picture1", 10, 364, 1160, 380},
      {"RichTextBox1", 10, 752, 1160, 140},
  },
  // The progress bar, the plot and the pane take the extra width; the plot takes two
  // thirds of the extra height and the pane below it the other third.  Made smaller, the
  // plot gives four fifths of the height and the pane one fifth, down to a plot of 180
  // and a pane of 90 pixels.
  {
      {"ProgressBar1", 0, 1, 0, 0, 0, 0},
      {"Picture1", 0, 1, 0, 2. / 3, 0, 0.8},
      {"RichTextBox1", 0, 1, 2. / 3, 1, 0.8, 1},
  },
  1180, 900 - 250};
  static const WindowLayout kEmpty{600, 400, {}, {}, 600, 400};
  if (form == "Form1") return kWindow1Layout;
  if (form == "Form2") return kWindow2Layout;
  if (form == "Form3") return kHelpLayout;
  if (form == "Form4") return kWindow3Layout;
  return kEmpty;
}

QRect PlaceIn(const WindowLayout& layout, const Placement& place, const QSize& size) {
  const int dw = size.width() - layout.width, dh = size.height() - layout.height;
  for (const Follow& f : layout.follows) {
    if (std::string_view(f.name) != place.name) continue;
    const double top = dh < 0 ? f.shrinkTop : f.top, bottom = dh < 0 ? f.shrinkBottom : f.bottom;
    // Each edge is moved on its own, so that neighbours sharing a fraction stay adjacent.
    const int left = place.x + static_cast<int>(std::lround(f.left * dw));
    const int right = place.x + place.w + static_cast<int>(std::lround(f.right * dw));
    const int upper = place.y + static_cast<int>(std::lround(top * dh));
    const int lower = place.y + place.h + static_cast<int>(std::lround(bottom * dh));
    return QRect(left, upper, right - left, lower - upper);
  }
  return QRect(place.x, place.y, place.w, place.h);
}

QSize OpeningSize(const WindowLayout& layout, const QRect& available) {
  // Room for the window manager's title bar and borders.
  const QSize decorations(16, 40);
  return QSize(layout.width, layout.height).boundedTo(available.size() - decorations).expandedTo(QSize(200, 150));
}

}  // namespace planova::ui
