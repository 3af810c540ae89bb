// Positions and sizes of the controls of each window, by control name (pixels).
#pragma once

#include <string>
#include <vector>

namespace planova::ui {

struct Placement {
  const char* name;
  int x, y, w, h;
};

struct WindowLayout {
  int width, height;
  std::vector<Placement> places;
};

// The layout of a window ("Form1" …); an empty layout for an unknown name.
const WindowLayout& LayoutOf(const std::string& form);

}  // namespace planova::ui
