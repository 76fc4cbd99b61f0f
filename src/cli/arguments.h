// The command line and the console as byte text: on Windows the arguments
// are taken in UTF-16 and converted to GBK, whatever the system's code page,
// and output is written byte for byte.
#pragma once

#include <vector>

#include "text/byte_text.h"

namespace veskra {

// The arguments after the program's name.
std::vector<ByteText> CommandArguments(int argc, char** argv);

// Output goes out exactly as written: no line-end translation.
void UseBinaryConsole();

}  // namespace veskra
