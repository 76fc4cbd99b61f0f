// Program entry of the window program: start-up, the message loop, and the
// end, normal or fatal.
#include <windows.h>

#include <ole2.h>

#include <string>

#include "app/main_window_win.h"
#include "notice/announcement.h"
#include "platform/gbk.h"
#include "split/file_access.h"
#include "text/fatal_error.h"

namespace veskra {
namespace {

// "载入启动窗口失败"
constexpr char kCannotBuildWindow[] =
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";

MainWindow* g_window = nullptr;

// The process's current directory becomes the program file's folder.
void EnterProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return;
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L'\\');
  if (slash == std::wstring::npos) return;
  SetCurrentDirectoryW(path.substr(0, slash + 1).c_str());
}

// The end-of-program cleanup: no command runs any more, every open file is
// closed, the component services are released.
void CleanUp() {
  if (g_window != nullptr) g_window->StopCommands();
  CloseAllFiles();
  EndAnnouncement();
  OleUninitialize();
}

// The fatal error box, then the cleanup, then exit code -1. The exit
// procedure (nothing, at a normal end) is skipped.
[[noreturn]] void ShowFatalErrorAndExit(ByteView message) {
  if (g_window != nullptr) g_window->StopCommands();
  // "运行时出错!" CR LF CR LF ["错误信息：" message CR LF]
  ByteText text = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";
  if (!message.empty()) {
    text += JoinTexts({"\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA", message, "\r\n"});
  }
  MessageBoxW(nullptr, WideFromGbk(text).c_str(), WideFromGbk("\xB4\xED\xCE\xF3").c_str(),
              MB_OK | MB_ICONERROR);  // title "错误"
  CleanUp();
  ExitProcess(static_cast<UINT>(-1));
}

int RunMessageLoop(MainWindow& window) {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 0;
    if (window.HandleKey(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace
}  // namespace veskra

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace veskra;
  EnterProgramFolder();
  OleInitialize(nullptr);
  SetFatalErrorHandler(&ShowFatalErrorAndExit);

  static MainWindow window;
  g_window = &window;
  if (!window.Build(instance)) ReportFatalError(kCannotBuildWindow);
  RunMessageLoop(window);

  CleanUp();
  return 0;
}
