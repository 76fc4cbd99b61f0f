// Placeholder until the full splitter lands.
#include "app/splitter_line.h"

namespace veskra {

bool RegisterSplitterLineClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_SIZENS);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kSplitterLineClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace veskra
