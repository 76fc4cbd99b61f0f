#include "app/main_window_win.h"

#include <string>

#include "app/forum.h"
#include "app/hyperlink_box.h"
#include "app/resources/resource.h"
#include "app/splitter_line.h"
#include "notice/announcement.h"
#include "platform/gbk.h"

namespace veskra {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The announcement link: red, blue under the pointer, in "宋体" 14 px bold.
constexpr HyperlinkSettings kAnnouncementLinkSettings{kRed, kRed,    kBlue,        L"\x5B8B\x4F53",
                                                      14,   FW_BOLD, kForumAddress};
// The forum link: blue in every state, in the default GUI font.
constexpr HyperlinkSettings kForumLinkSettings{kBlue, kBlue,     kBlue,        nullptr,
                                               0,     FW_NORMAL, kForumAddress};

struct KindStyle {
  const wchar_t* class_name;
  DWORD style;
  DWORD ex_style;
};

KindStyle StyleOf(const ControlDefinition& control) {
  const DWORD tab = control.tab_stop ? WS_TABSTOP : 0;
  switch (control.kind) {
    case ControlKind::kLabel:
      return {L"STATIC", SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, 0};
    case ControlKind::kEditBox:
      return {L"EDIT", tab | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kMultiLineEditBox:
      return {L"EDIT",
              tab | ES_LEFT | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE};
    case ControlKind::kPushButton:
      return {L"BUTTON", tab | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0};
    case ControlKind::kHyperlinkBox:
      return {kHyperlinkBoxClass, tab, 0};
    case ControlKind::kSplitterLine:
      return {kSplitterLineClass, tab, 0};
    case ControlKind::kBookChooser:
      break;
  }
  return {nullptr, 0, 0};
}

bool IsEditBox(HWND hwnd) {
  wchar_t name[16] = {};
  GetClassNameW(hwnd, name, 16);
  return lstrcmpiW(name, L"EDIT") == 0;
}

}  // namespace

MainWindow::MainWindow()
    : chooser_(kBookFilter),
      focus_order_(FocusOrder(kMainWindowControls.data(), kMainWindowControls.size())) {}

bool MainWindow::Build(HINSTANCE instance) {
  HICON big_icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VESKRA_ICON),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                                 GetSystemMetrics(SM_CYICON), LR_SHARED));
  HICON small_icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VESKRA_ICON),
                                                   IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &MainWindow::Procedure;
  window_class.hInstance = instance;
  window_class.hIcon = big_icon;
  window_class.hIconSm = small_icon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&window_class)) return false;
  if (!RegisterHyperlinkBoxClass(instance) || !RegisterSplitterLineClass(instance)) return false;

  const int width = kMainWindow.outer_width;
  const int height = kMainWindow.outer_height;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const std::wstring title = WideFromGbk(kMainWindow.title);
  hwnd_ = CreateWindowExW(0, kMainWindowClass, title.c_str(),
                          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, left, top,
                          width, height, nullptr, nullptr, instance, this);
  if (hwnd_ == nullptr) return false;
  RECT outer{};
  GetWindowRect(hwnd_, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);

  if (!CreateControls(instance)) {
    DestroyWindow(hwnd_);
    return false;
  }

  // The creation event, while the window is still hidden.
  StartAnnouncement(GetDlgItem(hwnd_, kAnnouncementLink));

  if (!IsWindow(hwnd_)) return true;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  FocusFirst();
  return true;
}

HWND MainWindow::CreateControl(HINSTANCE instance, const ControlDefinition& control) {
  const KindStyle kind = StyleOf(control);
  const std::wstring text = WideFromGbk(control.text != nullptr ? control.text : "");
  const HyperlinkSettings* link =
      control.id == kAnnouncementLink ? &kAnnouncementLinkSettings : &kForumLinkSettings;
  // The link copies its settings; it never writes through the pointer.
  void* parameter =
      control.kind == ControlKind::kHyperlinkBox ? const_cast<HyperlinkSettings*>(link) : nullptr;
  HWND hwnd = CreateWindowExW(kind.ex_style, kind.class_name, text.c_str(), WS_CHILD | kind.style,
                              control.left, control.top, control.width, control.height, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                              parameter);
  if (hwnd == nullptr) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
  if (control.kind == ControlKind::kEditBox || control.kind == ControlKind::kMultiLineEditBox) {
    SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no limit of the system's own
  }
  return hwnd;
}

bool MainWindow::CreateControls(HINSTANCE instance) {
  HWND above = HWND_TOP;
  std::vector<HWND> shown;
  for (const ControlDefinition& control : kMainWindowControls) {
    if (control.kind == ControlKind::kBookChooser) continue;  // the dialog has no window
    HWND hwnd = CreateControl(instance, control);
    if (hwnd == nullptr) return false;
    // Stacking order is table order: each control goes just below the one before.
    SetWindowPos(hwnd, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = hwnd;
    if (control.visible) shown.push_back(hwnd);
  }
  for (HWND hwnd : shown) ShowWindow(hwnd, SW_SHOWNA);
  return true;
}

void MainWindow::FocusFirst() {
  if (focus_order_.empty()) return;
  SetFocus(GetDlgItem(hwnd_, focus_order_.front()));
}

void MainWindow::RestoreFocus() {
  if (last_focus_ != nullptr && IsWindow(last_focus_)) {
    SetFocus(last_focus_);
  } else {
    FocusFirst();
  }
}

void MainWindow::MoveFocus(int step) {
  HWND focus = GetFocus();
  const int current = focus != nullptr && IsChild(hwnd_, focus) ? GetDlgCtrlID(focus) : 0;
  HWND next = GetDlgItem(hwnd_, NextInFocusOrder(focus_order_, current, step));
  if (next == nullptr) return;
  SetFocus(next);
  if (IsEditBox(next)) SendMessageW(next, EM_SETSEL, 0, -1);
}

bool MainWindow::HandleKey(const MSG& message) {
  if (hwnd_ == nullptr || message.message != WM_KEYDOWN) return false;
  if (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd)) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (control || alt) return false;
  switch (message.wParam) {
    case VK_TAB:
      MoveFocus(shift ? -1 : 1);
      return true;
    case VK_ESCAPE:
      if (shift) return false;
      // Exactly as the close button does.
      SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return true;
    default:
      return false;  // Enter and every other key go on to the control
  }
}

ByteText MainWindow::Content(int id) const {
  HWND control = GetDlgItem(hwnd_, id);
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return GbkFromWide(text);
}

void MainWindow::SetContent(int id, ByteView text) const {
  SetWindowTextW(GetDlgItem(hwnd_, id), WideFromGbk(text).c_str());
}

void MainWindow::ChooseBook() {
  if (chooser_.Show(hwnd_)) SetContent(kBookPathBox, chooser_.path());
}

LRESULT CALLBACK MainWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    auto* window = static_cast<MainWindow*>(create->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(hwnd, message, wparam, lparam);
  return window->OnMessage(message, wparam, lparam);
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && !commands_stopped_) {
        if (LOWORD(wparam) == kSplitButton) SplitBook();
        if (LOWORD(wparam) == kOpenButton) ChooseBook();
      }
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) last_focus_ = focus;
      } else if (!HIWORD(wparam)) {
        RestoreFocus();
      }
      return 0;
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wparam, lparam);
  }
}

}  // namespace veskra
