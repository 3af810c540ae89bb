#include "window2/form2.h"

namespace planova {

Form2::Form2(Platform& platform, FormHost* host, AstroState& astro, ObservationStore& store)
    : FormModel("Form2", "Преобразование формата данных Planova - форма 2", platform, host), Astro(astro), Store(store) {}

void Form2::Load() { Astro.InitConstants(); }

void Form2::Activate() { Astro.UseJulianCalendar = 0; }

}  // namespace planova
