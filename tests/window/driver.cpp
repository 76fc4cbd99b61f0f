#include "driver.h"

#include <cstdio>
#include <vector>

#include "app/control_ids.h"

namespace veskra::driver {
namespace {

// A Linux path of the build tree becomes the Windows path Wine gives it.
std::wstring FromBuildPath(const char* path) {
  std::wstring wide = Wide(path);
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return L"";
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(copied);
  return text;
}

struct WindowSearch {
  DWORD process_id = 0;  // 0: any process
  std::wstring class_name;
  std::wstring title;  // empty: any title
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  if (!IsWindowVisible(hwnd)) return TRUE;
  if (search->process_id != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->process_id) return TRUE;
  }
  if (ClassOf(hwnd) != search->class_name) return TRUE;
  if (!search->title.empty() && TextOf(hwnd) != search->title) return TRUE;
  search->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> FindWindows(DWORD process_id, const std::wstring& class_name,
                              const std::wstring& title = L"") {
  WindowSearch search{process_id, class_name, title, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

std::wstring VeskraExe() { return FromBuildPath(VESKRA_EXE_PATH); }
std::wstring VeskraNettestExe() { return FromBuildPath(VESKRA_NETTEST_EXE_PATH); }

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
}

std::optional<Program> Program::Start(const std::wstring& exe) {
  Program program;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring command = L"\"" + exe + L"\"";
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &program.info_)) {
    std::fprintf(stderr, "cannot start the program: error %lu\n", GetLastError());
    return std::nullopt;
  }
  const DWORD pid = program.info_.dwProcessId;
  WaitUntil(
      [&] {
        for (HWND hwnd : FindWindows(pid, kMainWindowClass)) {
          program.window_ = hwnd;
          return true;
        }
        return false;
      },
      10000);
  if (program.window_ == nullptr) {
    std::fprintf(stderr, "the main window did not appear\n");
    return std::nullopt;
  }
  program.WaitIdle();
  return program;
}

Program::Program(Program&& other) noexcept : info_(other.info_), window_(other.window_) {
  other.info_ = {};
  other.window_ = nullptr;
}

Program::~Program() {
  if (info_.hProcess == nullptr) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

HWND Program::Control(int id) const { return GetDlgItem(window_, id); }

std::wstring Program::Text(int id) const { return TextOf(Control(id)); }

bool Program::SetText(int id, const std::wstring& text) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                             SMTO_ABORTIFHUNG, 2000, &result) != 0 &&
         result != 0;
}

void Program::Click(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

bool Program::WaitIdle(DWORD ms) const {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

HWND Program::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(info_.dwThreadId, &info)) return nullptr;
  return info.hwndFocus;
}

int Program::FocusId() const {
  HWND focus = Focus();
  return focus != nullptr ? GetDlgCtrlID(focus) : 0;
}

void Program::PressKey(WORD vk, bool shift) const {
  SetForegroundWindow(window_);
  WaitIdle();
  std::vector<INPUT> inputs;
  auto add = [&](WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, false);
  add(vk, false);
  add(vk, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(50);
  if (running()) WaitIdle();
}

std::optional<Box> Program::FindBox() const {
  for (HWND hwnd : FindWindows(info_.dwProcessId, L"#32770")) {
    Box box;
    box.hwnd = hwnd;
    box.title = TextOf(hwnd);
    if (HWND text = GetDlgItem(hwnd, 0xFFFF)) box.text = TextOf(text);
    return box;
  }
  return std::nullopt;
}

std::optional<Box> Program::WaitForBox(DWORD ms) const {
  std::optional<Box> box;
  WaitUntil(
      [&] {
        box = FindBox();
        return box.has_value();
      },
      ms);
  return box;
}

bool Program::DismissBox(const Box& box) const {
  PostMessageW(GetDlgItem(box.hwnd, IDOK), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(box.hwnd) || !IsWindowVisible(box.hwnd); });
}

std::optional<DWORD> Program::WaitForExit(DWORD ms) {
  if (WaitForSingleObject(info_.hProcess, ms) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

bool Program::running() const {
  return info_.hProcess != nullptr && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<COLORREF> BitmapPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = -height;  // top row first
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  std::vector<RGBQUAD> quads(static_cast<size_t>(width) * height);
  GetDIBits(dc, bitmap, 0, height, quads.data(), reinterpret_cast<BITMAPINFO*>(&header),
            DIB_RGB_COLORS);
  std::vector<COLORREF> pixels;
  pixels.reserve(quads.size());
  for (const RGBQUAD& q : quads) pixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
  return pixels;
}

std::vector<COLORREF> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);
  auto pixels = BitmapPixels(memory, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

HWND WaitForFileManager(const std::wstring& title, DWORD ms) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto windows = FindWindows(0, L"ExplorerWClass", title);
        if (windows.empty()) return false;
        found = windows.front();
        return true;
      },
      ms);
  return found;
}

int CloseFileManagers() {
  auto windows = FindWindows(0, L"ExplorerWClass");
  for (HWND hwnd : windows) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  WaitUntil([] { return !AnyFileManager(); });
  return static_cast<int>(windows.size());
}

bool AnyFileManager() { return !FindWindows(0, L"ExplorerWClass").empty(); }

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok =
      WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  CloseHandle(file);
  return ok;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TempFolder::TempFolder(const std::wstring& name) {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  path_ = std::wstring(temp) + name + L"\\";
  ok_ = CreateDirectoryW(path_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

TempFolder::~TempFolder() {
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW((path_ + L"*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((path_ + entry.cFileName).c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(path_.c_str());
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return L"";
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

std::string Gbk(const std::wstring& text) {
  if (text.empty()) return "";
  int n = WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string bytes(n, '\0');
  WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr,
                      nullptr);
  return bytes;
}

}  // namespace veskra::driver
