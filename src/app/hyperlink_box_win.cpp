// The hyperlink box: paints its caption in the link's colours, follows the
// pointer with mouse capture, and opens its web address on a left press.
#include "app/hyperlink_box.h"

#include <windowsx.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/gdi_object.h"
#include "app/link_logic.h"
#include "platform/gbk.h"

namespace veskra {
namespace {

struct RegistryKeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using RegistryKey = std::unique_ptr<std::remove_pointer_t<HKEY>, RegistryKeyCloser>;

struct KernelHandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using KernelHandle = std::unique_ptr<void, KernelHandleCloser>;

// A registered value is read only if it holds at most this many characters.
constexpr DWORD kRegisteredValueChars = 260;

// The default value of HKEY_CLASSES_ROOT\<subkey>; nothing when the key
// cannot be opened or the value is missing, not text or too long.
std::optional<std::wstring> ReadClassesRootDefault(const std::wstring& subkey) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_QUERY_VALUE, &opened) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  const RegistryKey key(opened);
  std::array<wchar_t, kRegisteredValueChars + 1> value{};
  DWORD type = 0;
  DWORD bytes = kRegisteredValueChars * sizeof(wchar_t);  // the last slot stays NUL
  if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                       &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::nullopt;
  }
  std::wstring text(value.data());
  if (type == REG_EXPAND_SZ) {
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring expanded(needed, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed) != needed) {
      return std::nullopt;
    }
    expanded.resize(needed - 1);
    text = std::move(expanded);
  }
  return text;
}

// Runs a command line, showing normally; true when the program started.
bool RunCommandLine(std::wstring line) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  // The browser runs on by itself; its handles are not needed.
  const KernelHandle started_process(process.hProcess);
  const KernelHandle started_thread(process.hThread);
  return true;
}

struct LinkState {
  COLORREF text_colour;
  COLORREF visited_colour;
  COLORREF hover_colour;
  FontObject font;  // empty: the default GUI font
  ByteText address;
  bool hover = false;
  bool visited = false;
};

LinkState* StateOf(HWND hwnd) {
  return reinterpret_cast<LinkState*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

std::unique_ptr<LinkState> StateFrom(const HyperlinkSettings& settings) {
  auto state = std::make_unique<LinkState>();
  state->text_colour = settings.text_colour;
  state->visited_colour = settings.visited_colour;
  state->hover_colour = settings.hover_colour;
  state->address.assign(settings.address);
  if (settings.font_face) {
    // A negative height asks for the character height, without leading.
    state->font = FontObject(CreateFontW(
        -settings.font_height, 0, 0, 0, settings.font_weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, settings.font_face));
  }
  return state;
}

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Paint(HWND hwnd, const LinkState& state) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd, &paint);
  if (!dc) return;
  RECT area;
  GetClientRect(hwnd, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

  std::wstring text = WindowText(hwnd);
  if (text.empty()) text = WideFromGbk(state.address);
  const COLORREF colour = state.hover     ? state.hover_colour
                          : state.visited ? state.visited_colour
                                          : state.text_colour;
  SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ font =
      state.font ? static_cast<HGDIOBJ>(state.font.get()) : GetStockObject(DEFAULT_GUI_FONT);
  {
    const SelectedObject selected(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
  }
  EndPaint(hwnd, &paint);
}

// Hover: on at the first movement over the link, with the mouse captured so
// that leaving is seen; off when a movement leaves the link's area.
void OnMouseMove(HWND hwnd, LinkState& state, LPARAM lparam) {
  if (!state.hover) {
    state.hover = true;
    SetCapture(hwnd);
    InvalidateRect(hwnd, nullptr, FALSE);
    return;
  }
  if (GetCapture() != hwnd) return;
  RECT area;
  GetClientRect(hwnd, &area);
  const POINT pointer{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (!PtInRect(&area, pointer)) {
    state.hover = false;
    ReleaseCapture();
    InvalidateRect(hwnd, nullptr, FALSE);
  }
}

void OnClick(HWND hwnd, LinkState& state) {
  state.visited = OpenWebAddress(state.address);
  if (state.visited) {
    InvalidateRect(hwnd, nullptr, FALSE);
    UpdateWindow(hwnd);
  }
}

LRESULT CALLBACK LinkProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    const auto* settings = static_cast<const HyperlinkSettings*>(create->lpCreateParams);
    if (!settings) return FALSE;  // a link without colours and address is not made
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(StateFrom(*settings).release()));
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  LinkState* state = StateOf(hwnd);
  if (!state) return DefWindowProcW(hwnd, message, wparam, lparam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete state;
      break;
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole link
    case WM_PAINT:
      Paint(hwnd, *state);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, *state, lparam);
      return 0;
    case WM_CAPTURECHANGED:
      if (state->hover) {
        state->hover = false;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      OnClick(hwnd, *state);
      return 0;
    case WM_SETTEXT: {
      // Sent here on the link's own thread, also when another thread
      // sets the caption; the text is stored before the repaint is asked.
      const LRESULT stored = DefWindowProcW(hwnd, message, wparam, lparam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return stored;
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool OpenWithRegisteredBrowser(const std::wstring& address) {
  const auto page_class = ReadClassesRootDefault(L".htm");
  if (!page_class || page_class->empty()) return false;
  const auto registered = ReadClassesRootDefault(*page_class + L"\\shell\\open\\command");
  if (!registered) return false;
  auto line = BrowserCommandLine(*registered, address);
  return line && RunCommandLine(std::move(*line));
}

bool OpenWebAddress(ByteView address) {
  if (address.empty()) return false;
  const std::wstring wide = WideFromGbk(address);
  const auto shell_result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOW));
  if (shell_result > 32) return true;
  return OpenWithRegisteredBrowser(wide);
}

bool RegisterHyperlinkBoxClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = LinkProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kHyperlinkBoxClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace veskra
