// The one way Veskra stops on an error it cannot go on from.
#pragma once

#include <cstdint>

#include "text/byte_text.h"

namespace veskra {

// A handler shows or prints the message and ends the process; it never
// returns. The window shows its error box, the command-line tool prints.
using FatalErrorHandler = void (*)(ByteView message);

void SetFatalErrorHandler(FatalErrorHandler handler);
[[noreturn]] void ReportFatalError(ByteView message);

// "分配 %d 字节内存失败!" with the byte count in decimal (GBK bytes).
ByteText OutOfMemoryMessage(std::uint64_t bytes);

}  // namespace veskra
