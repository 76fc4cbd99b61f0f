#include "text/fatal_error.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace veskra {
namespace {

void PrintAndExit(ByteView message) {
  std::fwrite(message.data(), 1, message.size(), stderr);
  std::fputc('\n', stderr);
  std::_Exit(-1);
}

std::atomic<FatalErrorHandler> g_handler{&PrintAndExit};

}  // namespace

void SetFatalErrorHandler(FatalErrorHandler handler) {
  g_handler.store(handler ? handler : &PrintAndExit);
}

void ReportFatalError(ByteView message) {
  g_handler.load()(message);
  std::_Exit(-1);  // a handler that returns still ends the process
}

ByteText OutOfMemoryMessage(std::uint64_t bytes) {
  // 分配 … 字节内存失败!
  return JoinTexts({"\xB7\xD6\xC5\xE4 ", FormatInteger(static_cast<std::int64_t>(bytes)),
                    " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!"});
}

}  // namespace veskra
