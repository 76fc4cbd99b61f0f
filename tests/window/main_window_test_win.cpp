// The main window as a user meets it: its place, its controls, the keys.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "driver.h"

namespace veskra::driver {
namespace {

std::vector<int> ChildIdsInStackingOrder(HWND window) {
  std::vector<int> ids;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

TEST(MainWindow, HasItsTitleSizeAndCentredPlace) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  HWND window = program->window();
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_EQ(std::wstring(L"Veskra V3.2"), title);
  RECT outer{};
  ASSERT_TRUE(GetWindowRect(window, &outer));
  EXPECT_EQ(335, outer.right - outer.left);
  EXPECT_EQ(165, outer.bottom - outer.top);
  EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 335) / 2, outer.left);
  EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 165) / 2, outer.top);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(MainWindow, ProgramCarriesItsIconAtFiveSizesAndThirtyTwoBits) {
  HMODULE exe = LoadLibraryExW(VeskraExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, exe);
  HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(nullptr, found);
  const auto* group = static_cast<const WORD*>(LockResource(LoadResource(exe, found)));
  ASSERT_NE(nullptr, group);
  const WORD count = group[2];
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(group + 3);
  std::vector<std::pair<int, int>> sizes_and_bits;
  for (WORD i = 0; i < count; ++i) {
    sizes_and_bits.emplace_back(entries[i].width == 0 ? 256 : entries[i].width,
                                entries[i].bit_count);
  }
  const std::vector<std::pair<int, int>> expected{
      {16, 32}, {24, 32}, {32, 32}, {48, 32}, {128, 32}};
  EXPECT_EQ(expected, sizes_and_bits);
  for (int size : {16, 32}) {
    HANDLE icon = LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0);
    EXPECT_NE(nullptr, icon) << size;
    if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
  }
  FreeLibrary(exe);
}

struct ControlCase {
  int id;
  const char* class_name;
  int left, top, width, height;
  bool visible;
  const char* text;  // UTF-8; nullptr: not checked
};

TEST(MainWindow, ControlsStandWhereTheDefinitionPutsThem) {
  const ControlCase cases[] = {
      // The announcement replaces its caption at start (the notice tests).
      {kAnnouncementLink, "VeskraHyperlinkBox", 8, 3, 312, 24, true, nullptr},
      {kSeparatorLine, "VeskraSplitterLine", 19, 105, 298, 2, true, ""},
      {kForumLink, "VeskraHyperlinkBox", 96, 113, 152, 16, true, "书友论坛(veskra.example)"},
      {kDelimiterBox, "Edit", 0, 12, 24, 48, false, "\r\n"},
      {kSplitButton, "Button", 264, 73, 56, 24, true, "确定"},
      {kPiecesLabel, "Static", 154, 73, 40, 24, true, "份"},
      {kPieceCountBox, "Edit", 80, 73, 64, 24, true, ""},
      {kPieceCountLabel, "Static", 19, 73, 61, 24, true, "分割份数："},
      {kOpenButton, "Button", 264, 34, 56, 24, true, "打开..."},
      {kBookPathBox, "Edit", 80, 34, 176, 24, true, ""},
      {kBookPathLabel, "Static", 32, 34, 48, 24, true, "电子书："},
  };
  auto program = Program::Start();
  ASSERT_TRUE(program);
  for (const ControlCase& expected : cases) {
    SCOPED_TRACE(expected.id);
    HWND control = program->Control(expected.id);
    ASSERT_NE(nullptr, control);
    wchar_t class_name[64] = {};
    GetClassNameW(control, class_name, 64);
    EXPECT_EQ(0, lstrcmpiW(Wide(expected.class_name).c_str(), class_name));
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, program->window(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(expected.left, rect.left);
    EXPECT_EQ(expected.top, rect.top);
    EXPECT_EQ(expected.width, rect.right - rect.left);
    EXPECT_EQ(expected.height, rect.bottom - rect.top);
    EXPECT_EQ(expected.visible, IsWindowVisible(control) != 0);
    EXPECT_TRUE(IsWindowEnabled(control));
    if (expected.text != nullptr) {
      EXPECT_EQ(Wide(expected.text), program->Text(expected.id));
    }
  }
  // The stacking order is the definition's order, first on top.
  const std::vector<int> stacking{
      kAnnouncementLink, kSeparatorLine,   kForumLink,  kDelimiterBox, kSplitButton,  kPiecesLabel,
      kPieceCountBox,    kPieceCountLabel, kOpenButton, kBookPathBox,  kBookPathLabel};
  EXPECT_EQ(stacking, ChildIdsInStackingOrder(program->window()));
}

TEST(MainWindow, FocusStartsInTheBookPathBox) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  EXPECT_EQ(kBookPathBox, program->FocusId());
}

TEST(MainWindow, TabAndShiftTabCycleTheFocusOrder) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  const std::vector<int> order{kOpenButton,    kPieceCountBox, kSplitButton,
                               kSeparatorLine, kBookPathBox,   kOpenButton};
  std::vector<int> visited;
  for (std::size_t i = 0; i < order.size(); ++i) {
    program->PressKey(VK_TAB);
    visited.push_back(program->FocusId());
  }
  EXPECT_EQ(order, visited);
  const std::vector<int> back{kBookPathBox,   kSeparatorLine, kSplitButton,
                              kPieceCountBox, kOpenButton,    kBookPathBox};
  visited.clear();
  for (std::size_t i = 0; i < back.size(); ++i) {
    program->PressKey(VK_TAB, /*shift=*/true);
    visited.push_back(program->FocusId());
  }
  EXPECT_EQ(back, visited);
}

TEST(MainWindow, EscFromThePieceCountBoxEndsWithExitCodeZero) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  program->PressKey(VK_TAB);
  program->PressKey(VK_TAB);
  ASSERT_EQ(kPieceCountBox, program->FocusId());
  program->PressKey(VK_ESCAPE);
  EXPECT_EQ(std::optional<DWORD>(0), program->WaitForExit());
}

TEST(MainWindow, EnterRunsNothingAndKeepsTheFocus) {
  auto program = Program::Start();
  ASSERT_TRUE(program);
  for (int focused : {kBookPathBox, kPieceCountBox}) {
    if (focused == kPieceCountBox) {
      program->PressKey(VK_TAB);
      program->PressKey(VK_TAB);
    }
    program->PressKey(VK_RETURN);
    EXPECT_EQ(focused, program->FocusId());
    EXPECT_FALSE(program->FindBox());  // the split's empty-path box did not appear
    EXPECT_TRUE(program->running());
  }
}

// Started from another folder, the program still works in its own: a bare
// file name in the book path box names a book beside veskra.exe.
TEST(MainWindow, BareBookNameIsFoundInTheProgramFolder) {
  const std::wstring exe = VeskraExe();
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  const std::wstring book = folder + L"当前目录.txt";
  ASSERT_TRUE(WriteFileBytes(book, "ab\r\ncd"));
  wchar_t here[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, here);
  ASSERT_NE(folder, std::wstring(here) + L"\\") << "the driver must start elsewhere";
  {
    auto program = Program::Start();
    ASSERT_TRUE(program);
    ASSERT_TRUE(program->SetText(kBookPathBox, L"当前目录.txt"));
    ASSERT_TRUE(program->SetText(kPieceCountBox, L"2"));
    program->Click(kSplitButton);
    ASSERT_TRUE(WaitUntil([&] { return FileExists(folder + L"当前目录2.txt"); }));
    ASSERT_TRUE(program->WaitIdle());
    EXPECT_EQ(std::optional<std::string>("ab"), ReadFileBytes(folder + L"当前目录1.txt"));
    EXPECT_EQ(std::optional<std::string>("\r\ncd"), ReadFileBytes(folder + L"当前目录2.txt"));
    // A path without a backslash has no folder: the box is emptied.
    EXPECT_EQ(L"", program->Text(kBookPathBox));
  }
  CloseFileManagers();
  for (const wchar_t* name : {L"当前目录.txt", L"当前目录1.txt", L"当前目录2.txt"}) {
    DeleteFileW((folder + name).c_str());
  }
}

}  // namespace
}  // namespace veskra::driver
