// files_hold_open FILE READY RELEASE: opens FILE sharing nothing, creates
// READY, and keeps FILE open until RELEASE exists (at most 60 s). Exit code
// 0 when it held the file, 1 when it could not open it, 2 on bad arguments.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const HANDLE held = ::CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  const HANDLE ready = ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready != INVALID_HANDLE_VALUE) ::CloseHandle(ready);
  for (int waited = 0; waited < 6000; ++waited) {
    if (::GetFileAttributesW(argv[3]) != INVALID_FILE_ATTRIBUTES) break;
    ::Sleep(10);
  }
  ::CloseHandle(held);
  return 0;
}
