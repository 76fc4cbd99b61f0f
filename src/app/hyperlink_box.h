// A self-drawn link: shows its caption (or its web address when the caption
// is empty) and opens the address in the browser when clicked.
#pragma once

#include <windows.h>

#include <string>

#include "text/byte_text.h"

namespace veskra {

inline constexpr wchar_t kHyperlinkBoxClass[] = L"VeskraHyperlinkBox";

struct HyperlinkSettings {
  COLORREF text_colour;
  COLORREF visited_colour;
  COLORREF hover_colour;
  const wchar_t* font_face;  // nullptr: the default GUI font
  int font_height;           // character height in pixels
  int font_weight;
  ByteView address;  // GBK web address
};

// Registers the window class. Create a link with CreateWindowExW(0,
// kHyperlinkBoxClass, caption, WS_CHILD, ..., lpParam = const
// HyperlinkSettings*), which the link copies. The caption is the window
// text: SetWindowTextW from any thread replaces it and repaints the link.
bool RegisterHyperlinkBoxClass(HINSTANCE instance);

// What a click does: opens the web address with the shell's "open", else
// with the program registered for ".htm" pages. True on success; it never
// shows a message.
bool OpenWebAddress(ByteView address);
// The fallback alone: the ".htm" program run on the address.
bool OpenWithRegisteredBrowser(const std::wstring& address);

}  // namespace veskra
