// Drives the real veskra.exe the way a person would: by window messages
// and key input, from a second Windows program. Every wait is bounded, so a
// hung program fails a test instead of hanging it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace veskra::driver {

// The program files under test, as Windows paths.
std::wstring VeskraExe();
std::wstring VeskraNettestExe();

// Polls `done` every 10 ms until it is true or `ms` milliseconds have passed.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000);

// A message box or dialog (class #32770) of the program.
struct Box {
  HWND hwnd = nullptr;
  std::wstring title;
  std::wstring text;  // the Static child with ID 0xFFFF; empty for dialogs
};

// One running copy of the program, with its main window. Ends the process
// when destroyed, if it is still running.
class Program {
 public:
  // Starts exe and waits for its visible main window. nullopt when either
  // fails; the reason goes to stderr.
  static std::optional<Program> Start(const std::wstring& exe = VeskraExe());

  Program(Program&& other) noexcept;
  Program& operator=(Program&&) = delete;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();

  HWND window() const { return window_; }
  DWORD process_id() const { return info_.dwProcessId; }
  DWORD thread_id() const { return info_.dwThreadId; }

  HWND Control(int id) const;
  std::wstring Text(int id) const;  // the control's window text
  bool SetText(int id, const std::wstring& text) const;
  // Posts BM_CLICK, so the driver does not wait for the command.
  void Click(int id) const;
  // True once the main thread handles messages again (after a command).
  bool WaitIdle(DWORD ms = 5000) const;

  // The control that has the keyboard focus in the program, or nullptr.
  HWND Focus() const;
  // The focused control's ID, or 0.
  int FocusId() const;
  // Brings the main window to the front and types one key (with Shift when
  // asked) through SendInput; then waits until the program has handled it.
  void PressKey(WORD vk, bool shift = false) const;

  // The first visible #32770 window of the process, waited for up to ms.
  std::optional<Box> WaitForBox(DWORD ms = 5000) const;
  // Any #32770 window of the process now, without waiting.
  std::optional<Box> FindBox() const;
  // Presses OK on the box and waits until it is gone.
  bool DismissBox(const Box& box) const;

  // Waits for the process to end; its exit code, or nullopt on timeout.
  std::optional<DWORD> WaitForExit(DWORD ms = 5000);
  bool running() const;

 private:
  Program() = default;
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
};

// The file manager window (class ExplorerWClass) whose title is `title`,
// waited for up to ms. Any process's.
HWND WaitForFileManager(const std::wstring& title, DWORD ms = 5000);
// Closes every open file-manager window; the count closed.
int CloseFileManagers();
// Whether any file-manager window is open now.
bool AnyFileManager();

// The pixels of a bitmap (not selected into any DC), top row first.
std::vector<COLORREF> BitmapPixels(HDC dc, HBITMAP bitmap, int width, int height);
// The pixels of a rectangle of the screen, top row first.
std::vector<COLORREF> ScreenPixels(const RECT& rect);

// Files for the tests, addressed by wide paths.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// A fresh folder under the temp folder, removed with its files when
// destroyed. `name` may hold any characters (e.g. Chinese).
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder's path with a trailing backslash.
  const std::wstring& path() const { return path_; }
  bool ok() const { return ok_; }

 private:
  std::wstring path_;
  bool ok_ = false;
};

// Wide text from UTF-8 (test sources are UTF-8) and GBK bytes from wide
// text, by code page 936 whatever the system's code page.
std::wstring Wide(const std::string& utf8);
std::string Gbk(const std::wstring& text);

}  // namespace veskra::driver
