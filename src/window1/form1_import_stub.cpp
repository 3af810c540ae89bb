// Import, BDL writing and the catalogue converter of window 1 (filled in by the import module).
#include "window1/form1.h"

namespace planova {

void Form1::LoadSourceData() {}
void Form1::SaveBdl() {}
void Form1::ConvertCatalogue() {}

}  // namespace planova
