// The splitter line: a 3D edge that can be dragged. A drag shows a halftone
// tracking bar that follows the pointer, but nothing follows from it: the
// line stays where the window definition put it.
#include "app/splitter_line.h"

#include <windowsx.h>

#include <algorithm>
#include <array>

#include "app/gdi_object.h"

namespace veskra {
namespace {

// GWLP_USERDATA of the line while a drag runs.
constexpr LONG_PTR kDragging = 1;

// A halftone pattern: every other pixel, alternating from row to row.
BrushObject MakeHalftoneBrush() {
  static constexpr std::array<WORD, 8> kRows{0x5555, 0xAAAA, 0x5555, 0xAAAA,
                                             0x5555, 0xAAAA, 0x5555, 0xAAAA};
  const BitmapObject pattern(CreateBitmap(8, 8, 1, 1, kRows.data()));
  if (!pattern) return {};
  return BrushObject(CreatePatternBrush(pattern.get()));  // the brush keeps its own copy
}

// The bar drawn over the parent window and its children by inverting the
// halftone pattern; inverting it again removes it without a trace.
class TrackingBar {
 public:
  TrackingBar(HWND parent, RECT bar) : parent_(parent), bar_(bar), brush_(MakeHalftoneBrush()) {
    Invert();
  }
  TrackingBar(const TrackingBar&) = delete;
  TrackingBar& operator=(const TrackingBar&) = delete;
  ~TrackingBar() { Invert(); }

  void MoveTo(int top) {
    if (top == bar_.top) return;
    Invert();
    OffsetRect(&bar_, 0, top - bar_.top);
    Invert();
  }

 private:
  void Invert() const {
    if (!brush_) return;
    // A cache DC of the parent without DCX_CLIPCHILDREN draws over the
    // children too, the line itself included.
    HDC dc = GetDCEx(parent_, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc) return;
    {
      const SelectedObject selected(dc, brush_.get());
      PatBlt(dc, bar_.left, bar_.top, bar_.right - bar_.left, bar_.bottom - bar_.top, PATINVERT);
    }
    ReleaseDC(parent_, dc);
  }

  HWND parent_;
  RECT bar_;
  BrushObject brush_;
};

// The line's place in its parent's client coordinates.
RECT PlaceInParent(HWND line, HWND parent) {
  RECT place;
  GetWindowRect(line, &place);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// Runs one drag to its end in a loop of its own, so that Esc reaches the
// drag rather than the window's keyboard handling. grab_y: where in the
// line the pointer was pressed.
void TrackDrag(HWND line, int grab_y) {
  HWND parent = GetParent(line);
  if (!parent) return;
  SetCapture(line);
  if (GetCapture() != line) return;
  SetWindowLongPtrW(line, GWLP_USERDATA, kDragging);

  const RECT place = PlaceInParent(line, parent);
  RECT client;
  GetClientRect(parent, &client);
  const int highest = client.top;
  const int lowest =
      std::max(highest, static_cast<int>(client.bottom - (place.bottom - place.top)));
  {
    TrackingBar bar(parent, place);
    bool done = false;
    MSG msg;
    while (!done && GetCapture() == line) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // the loop above must see it too
        break;
      }
      if (got == -1) break;
      switch (msg.message) {
        case WM_MOUSEMOVE:
          if (msg.hwnd == line) {
            const int top = place.top + GET_Y_LPARAM(msg.lParam) - grab_y;
            bar.MoveTo(std::clamp(top, highest, lowest));
          }
          break;
        case WM_LBUTTONUP:    // the end of the drag
        case WM_RBUTTONDOWN:  // a cancel
          done = true;
          break;
        case WM_KEYDOWN:
          done = msg.wParam == VK_ESCAPE;
          break;
        case WM_KEYUP:
        case WM_CHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_SYSCHAR:
          break;  // keys are the drag's while it runs
        default:
          DispatchMessageW(&msg);
      }
    }
  }  // the bar goes
  SetWindowLongPtrW(line, GWLP_USERDATA, 0);
  if (GetCapture() == line) ReleaseCapture();
}

void Paint(HWND line) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(line, &paint);
  if (!dc) return;
  RECT area;
  GetClientRect(line, &area);
  FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  // Highlight along the top and left, shadow along the bottom and right.
  HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
  HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
  const RECT top{area.left, area.top, area.right, area.top + 1};
  const RECT left{area.left, area.top, area.left + 1, area.bottom};
  const RECT bottom{area.left, area.bottom - 1, area.right, area.bottom};
  const RECT right{area.right - 1, area.top, area.right, area.bottom};
  FillRect(dc, &top, highlight);
  FillRect(dc, &left, highlight);
  FillRect(dc, &bottom, shadow);
  FillRect(dc, &right, shadow);
  EndPaint(line, &paint);
}

LRESULT CALLBACK LineProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole line
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) != kDragging)
        TrackDrag(hwnd, GET_Y_LPARAM(lparam));
      return 0;
    case WM_CAPTURECHANGED:
      // The drag's loop may be waiting for a message: wake it to see the loss.
      if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) == kDragging) PostMessageW(hwnd, WM_NULL, 0, 0);
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == hwnd) ReleaseCapture();
      break;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

bool RegisterSplitterLineClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = LineProcedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_SIZENS);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kSplitterLineClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace veskra
