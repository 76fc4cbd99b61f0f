// The open dialog, the two links and the separator line, used with real
// mouse input and window messages as a person would use them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/forum.h"
#include "driver.h"

namespace veskra::driver {
namespace {

constexpr int kFileNameBox = 0x47C;  // the open dialog's file-name box
constexpr int kFileTypeBox = 0x470;  // its file-type list
constexpr int kReadOnlyBox = 0x410;  // its read-only check box

HWND FindChild(HWND parent, const wchar_t* class_name) {
  struct Search {
    const wchar_t* class_name;
    HWND found;
  } search{class_name, nullptr};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (std::wstring(name) != s->class_name) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowTextOf(HWND hwnd) {
  wchar_t text[512] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      &copied);
  return text;
}

// Presses the open button and waits for the dialog.
HWND OpenDialog(const Program& program) {
  program.Click(kOpenButton);
  const auto box = program.WaitForBox();
  return box ? box->hwnd : nullptr;
}

// Ends the dialog with OK (after typing `file` into it) or Cancel, and
// waits until the main window takes input again.
void CloseDialog(const Program& program, HWND dialog, int button, const std::wstring& file = L"") {
  if (button == IDOK) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(file.c_str()), SMTO_ABORTIFHUNG, 2000, &result);
  }
  PostMessageW(dialog, WM_COMMAND, button, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(program.window()) != FALSE; }));
  program.WaitIdle();
}

TEST(OpenDialog, ChoiceFillsTheBoxAndIsTheNextStartAndCancelKeepsTypedText) {
  TempFolder folder(L"links-open");
  ASSERT_TRUE(folder.ok());
  const std::wstring book = folder.path() + Wide("读书.txt");
  ASSERT_TRUE(WriteFileBytes(book, "a\r\nb\r\n"));
  auto program = Program::Start();
  ASSERT_TRUE(program);

  HWND dialog = OpenDialog(*program);
  ASSERT_NE(nullptr, dialog);
  CloseDialog(*program, dialog, IDOK, book);
  EXPECT_EQ(book, program->Text(kBookPathBox));

  const std::wstring typed = L"C:\\typed by hand.txt";
  ASSERT_TRUE(program->SetText(kBookPathBox, typed));
  dialog = OpenDialog(*program);
  ASSERT_NE(nullptr, dialog);
  const std::wstring start = WindowTextOf(GetDlgItem(dialog, kFileNameBox));
  EXPECT_TRUE(start == book || start == Wide("读书.txt")) << Gbk(start);
  CloseDialog(*program, dialog, IDCANCEL);
  EXPECT_EQ(typed, program->Text(kBookPathBox));
}

TEST(OpenDialog, CancelOnFirstUseKeepsTypedText) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  const std::wstring typed = Wide("D:\\书\\手打的路径.txt");
  ASSERT_TRUE(program->SetText(kBookPathBox, typed));
  HWND dialog = OpenDialog(*program);
  ASSERT_NE(nullptr, dialog);
  EXPECT_EQ(L"", WindowTextOf(GetDlgItem(dialog, kFileNameBox)));
  HWND read_only = GetDlgItem(dialog, kReadOnlyBox);
  EXPECT_TRUE(read_only == nullptr || !IsWindowVisible(read_only));
  CloseDialog(*program, dialog, IDCANCEL);
  EXPECT_EQ(typed, program->Text(kBookPathBox));
}

TEST(OpenDialog, ListsOnlyTextFilesAtStart) {
  TempFolder folder(L"links-filter");
  ASSERT_TRUE(folder.ok());
  for (const char* name : {"a.txt", "b.txt", "c.dat", "d.htm"}) {
    ASSERT_TRUE(WriteFileBytes(folder.path() + Wide(name), "x"));
  }
  auto program = Program::Start();
  ASSERT_TRUE(program);
  // A first choice puts the dialog into the folder on its second use.
  HWND dialog = OpenDialog(*program);
  ASSERT_NE(nullptr, dialog);
  CloseDialog(*program, dialog, IDOK, folder.path() + L"a.txt");
  dialog = OpenDialog(*program);
  ASSERT_NE(nullptr, dialog);

  HWND types = GetDlgItem(dialog, kFileTypeBox);
  EXPECT_EQ(1, SendMessageW(types, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(0, SendMessageW(types, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(Wide("文本文件"), WindowTextOf(types));
  HWND files = FindChild(dialog, L"SysListView32");
  ASSERT_NE(nullptr, files);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(files, LVM_GETITEMCOUNT, 0, 0) == 2; }, 3000))
      << SendMessageW(files, LVM_GETITEMCOUNT, 0, 0);
  CloseDialog(*program, dialog, IDCANCEL);
}

// Real mouse input: moves the pointer to a point on the screen.
void MovePointerTo(POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  input.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
  Sleep(50);
}

void PressButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
  Sleep(50);
}

POINT CentreOf(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Puts the pointer on the main window where no control is, left of the
// input rows.
void MovePointerAway(const Program& program) {
  POINT empty{4, 64};
  ClientToScreen(program.window(), &empty);
  MovePointerTo(empty);
  program.WaitIdle();
}

// Real input goes to whatever window is on top at the point: make sure
// that is the control, with no file manager of an earlier test above it.
bool ControlOnTop(const Program& program, HWND control) {
  CloseFileManagers();
  SetForegroundWindow(program.window());
  SetWindowPos(program.window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return WaitUntil([&] { return WindowFromPoint(CentreOf(control)) == control; }, 3000);
}

// The pixels of a control as they stand on the screen, row by row.
std::vector<COLORREF> ScreenPixels(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  return driver::ScreenPixels(rect);
}

int CountOf(const std::vector<COLORREF>& pixels, COLORREF colour) {
  int count = 0;
  for (COLORREF p : pixels) count += p == colour ? 1 : 0;
  return count;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// The link's text on the screen shows `shown` and nothing of `absent`.
void ExpectTextColour(HWND link, COLORREF shown, COLORREF absent) {
  const auto pixels = ScreenPixels(link);
  EXPECT_GT(CountOf(pixels, shown), 20);
  EXPECT_EQ(0, CountOf(pixels, absent));
}

// The colour a link's text shows at rest and under the pointer, and the one
// it must not show then.
struct LinkColours {
  int link;
  COLORREF at_rest, not_at_rest;
  COLORREF under_pointer, not_under_pointer;
};

TEST(Links, TextColourFollowsThePointer) {
  const LinkColours cases[] = {
      {kAnnouncementLink, kRed, kBlue, kBlue, kRed},  // red, blue under the pointer
      {kForumLink, kBlue, kRed, kBlue, kRed},         // blue in every state
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    auto program = Program::Start();
    ASSERT_TRUE(program);
    HWND link = program->Control(c.link);
    ASSERT_TRUE(ControlOnTop(*program, link));
    MovePointerAway(*program);
    ExpectTextColour(link, c.at_rest, c.not_at_rest);
    MovePointerTo(CentreOf(link));
    program->WaitIdle();
    ExpectTextColour(link, c.under_pointer, c.not_under_pointer);
    MovePointerAway(*program);
    ExpectTextColour(link, c.at_rest, c.not_at_rest);
  }
}

// The picture a link should show: `text` in one line, centred, in the
// given font and colour, on the 3D face colour, drawn here the same way.
std::vector<COLORREF> ExpectedLink(HWND control, const std::wstring& text, const wchar_t* face,
                                   COLORREF colour) {
  RECT area{};
  GetClientRect(control, &area);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
  HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
  HFONT font = face ? CreateFontW(-14, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                  DEFAULT_PITCH, face)
                    : nullptr;
  HGDIOBJ old_font = SelectObject(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  FillRect(memory, &area, GetSysColorBrush(COLOR_BTNFACE));
  SetTextColor(memory, colour);
  SetBkMode(memory, TRANSPARENT);
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
  SelectObject(memory, old_font);
  if (font) DeleteObject(font);
  SelectObject(memory, old_bitmap);
  auto pixels = BitmapPixels(memory, bitmap, area.right, area.bottom);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Wide text from GBK bytes.
std::wstring FromGbk(const std::string& gbk) {
  std::wstring wide(gbk.size(), L'\0');
  wide.resize(
      static_cast<size_t>(MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()),
                                              wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

struct CaptionCase {
  const char* what;
  int id;
  const char* caption;  // UTF-8; nullptr: the caption the window starts with
  std::wstring shown;
  const wchar_t* face;  // nullptr: the default GUI font
  COLORREF colour;
};

void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.what; }

class LinkCaption : public testing::TestWithParam<CaptionCase> {};

// "\x5B8B\x4F53" is 宋体. The announcement link's caption at start is left
// out: the announcement thread replaces it.
INSTANTIATE_TEST_SUITE_P(
    Cases, LinkCaption,
    testing::Values(CaptionCase{"announcement written", kAnnouncementLink, "新书上架：三体",
                                Wide("新书上架：三体"), L"\x5B8B\x4F53", RGB(255, 0, 0)},
                    CaptionCase{"empty caption shows the address", kAnnouncementLink, "",
                                FromGbk(kForumAddress), L"\x5B8B\x4F53", RGB(255, 0, 0)},
                    CaptionCase{"forum at start", kForumLink, nullptr, FromGbk(kForumCaption),
                                nullptr, RGB(0, 0, 255)},
                    CaptionCase{"forum emptied", kForumLink, "", FromGbk(kForumAddress), nullptr,
                                RGB(0, 0, 255)},
                    CaptionCase{"ampersand shown as it is", kForumLink, "R&D &&", L"R&D &&",
                                nullptr, RGB(0, 0, 255)}));

TEST_P(LinkCaption, IsDrawnCentredInTheLinksFontAndColour) {
  const CaptionCase& c = GetParam();
  auto program = Program::Start();
  ASSERT_TRUE(program);
  MovePointerAway(*program);
  HWND link = program->Control(c.id);
  if (c.caption != nullptr) {
    ASSERT_TRUE(program->SetText(c.id, Wide(c.caption)));
  }
  const auto expected = ExpectedLink(link, c.shown, c.face, c.colour);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(link) == expected; }, 3000)) << c.what;
}

// The recording browser's log, as a Windows path; empty outside a session.
std::wstring BrowserLog() {
  const char* dir = std::getenv("VESKRA_WINE_DIR");
  if (dir == nullptr || *dir == '\0') return L"";
  std::wstring path = L"Z:" + Wide(dir) + L"/browser.log";
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

class LinkClick : public testing::TestWithParam<int> {};

TEST_P(LinkClick, OpensTheForumAddress) {
  const std::wstring log = BrowserLog();
  ASSERT_FALSE(log.empty()) << "VESKRA_WINE_DIR is not set";
  const std::string before = ReadFileBytes(log).value_or("");
  auto program = Program::Start();
  ASSERT_TRUE(program);
  ASSERT_TRUE(ControlOnTop(*program, program->Control(GetParam())));
  MovePointerAway(*program);
  MovePointerTo(CentreOf(program->Control(GetParam())));
  PressButton(MOUSEEVENTF_LEFTDOWN);
  PressButton(MOUSEEVENTF_LEFTUP);
  const std::string expected = before + kForumAddress + "\n";
  EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(log).value_or("") == expected; }, 10000))
      << ReadFileBytes(log).value_or("(no log)");
  EXPECT_FALSE(program->FindBox().has_value());  // no message of any kind
  MovePointerAway(*program);
}

INSTANTIATE_TEST_SUITE_P(BothLinks, LinkClick, testing::Values(kAnnouncementLink, kForumLink));

RECT ScreenRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  return rect;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// How the drag ends: released, or cancelled by the right button or Esc.
enum class DragEnd { kRelease, kRightButton, kEscape };

class SeparatorDrag : public testing::TestWithParam<DragEnd> {};

TEST_P(SeparatorDrag, ShowsABarAndLeavesTheLineWhereItWas) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  HWND line = program->Control(kSeparatorLine);
  HWND forum = program->Control(kForumLink);
  ASSERT_TRUE(ControlOnTop(*program, line));
  ASSERT_TRUE(ControlOnTop(*program, forum));
  MovePointerAway(*program);
  const RECT place = ScreenRect(line);
  const auto line_before = ScreenPixels(line);
  const auto forum_before = ScreenPixels(forum);

  MovePointerTo(CentreOf(line));
  PressButton(MOUSEEVENTF_LEFTDOWN);
  // The input reaches the program by the X server: wait for the picture.
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(line) != line_before; }, 3000))
      << "no bar over the line";
  // The bar follows the pointer down over the forum link.
  POINT over_forum = CentreOf(forum);
  over_forum.x = CentreOf(line).x;
  MovePointerTo(over_forum);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(forum) != forum_before; }, 3000))
      << "the bar did not follow";
  EXPECT_EQ(line_before, ScreenPixels(line)) << "the bar stayed on the line";

  switch (GetParam()) {
    case DragEnd::kRelease:
      PressButton(MOUSEEVENTF_LEFTUP);
      break;
    case DragEnd::kRightButton:
      PressButton(MOUSEEVENTF_RIGHTDOWN);
      PressButton(MOUSEEVENTF_RIGHTUP);
      PressButton(MOUSEEVENTF_LEFTUP);
      break;
    case DragEnd::kEscape: {
      INPUT keys[2] = {};
      for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_ESCAPE;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_ESCAPE, 0));
      }
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
      Sleep(50);
      PressButton(MOUSEEVENTF_LEFTUP);
      break;
    }
  }
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixels(forum) == forum_before; }, 3000))
      << "the bar was left behind";
  ASSERT_TRUE(program->WaitIdle());
  EXPECT_TRUE(program->running()) << "the drag's end closed the window";
  EXPECT_TRUE(SameRect(place, ScreenRect(line)));
  MovePointerAway(*program);
  EXPECT_EQ(line_before, ScreenPixels(line)) << "the line was not drawn back";
  EXPECT_EQ(forum_before, ScreenPixels(forum));
}

INSTANTIATE_TEST_SUITE_P(Ends, SeparatorDrag,
                         testing::Values(DragEnd::kRelease, DragEnd::kRightButton,
                                         DragEnd::kEscape));

}  // namespace
}  // namespace veskra::driver
