#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "cli/arguments.h"
#include "platform/gbk.h"

namespace veskra {

std::vector<ByteText> CommandArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<ByteText> arguments;
  if (wide == nullptr) {
    // Fall back on the runtime's own conversion.
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    return arguments;
  }
  for (int i = 1; i < count; ++i) arguments.push_back(GbkFromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

void UseBinaryConsole() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace veskra
