#include "cli/arguments.h"

namespace veskra {

std::vector<ByteText> CommandArguments(int argc, char** argv) {
  std::vector<ByteText> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

void UseBinaryConsole() {}

}  // namespace veskra
