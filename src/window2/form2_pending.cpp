// Buttons of window 2 whose operations are not built yet.
#include "window2/form2.h"

namespace planova {

void Form2::De405() {}

}  // namespace planova
