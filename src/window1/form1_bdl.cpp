// Window 1's BDL writer and catalogue converter buttons.
#include "window1/form1.h"

namespace planova {

void Form1::SaveBdl() {}
void Form1::ConvertCatalogue() {}

}  // namespace planova
