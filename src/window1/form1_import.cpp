// Window 1's import button.
#include "window1/form1.h"

namespace planova {

void Form1::LoadSourceData() {}

}  // namespace planova
