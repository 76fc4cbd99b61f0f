// A horizontal splitter line with a 3D edge. It can be dragged, showing a
// tracking bar, but the line itself never moves.
#pragma once

#include <windows.h>

namespace veskra {

inline constexpr wchar_t kSplitterLineClass[] = L"VeskraSplitterLine";

// Registers the window class; create the line with CreateWindowExW(0,
// kSplitterLineClass, L"", WS_CHILD | WS_TABSTOP, ...).
bool RegisterSplitterLineClass(HINSTANCE instance);

}  // namespace veskra
