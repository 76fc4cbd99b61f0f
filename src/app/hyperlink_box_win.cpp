// Placeholder until the full link lands: a static caption.
#include "app/hyperlink_box.h"

namespace veskra {

bool RegisterHyperlinkBoxClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kHyperlinkBoxClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace veskra
