// Window 2: data sets 1, 2 and 3, their transformations, the comparison with theory or
// with a second set, and the DE405 calculator.
#pragma once

#include "astro/astro_state.h"
#include "common/form.h"
#include "common/obs_store.h"

namespace planova {

class Form2 : public FormModel {
 public:
  Form2(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store);

  // First showing: the astronomy module's constants and tables.
  void Load();
  // Every showing: dates in windows 2 and 3 follow the Gregorian reform.
  void Activate();

  AstroState& Astro;
  ObservationStore& Store;
};

}  // namespace planova
