// ParseInteger on any bytes, against the plain walk; and every 32-bit
// number must survive FormatInteger and ParseInteger unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "reference_walk.h"
#include "text/byte_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (veskra::ParseInteger(text) != veskra::reference::ParseCount(text)) std::abort();

  std::int32_t number = 0;
  std::memcpy(&number, data, size < sizeof number ? size : sizeof number);
  if (veskra::ParseInteger(veskra::FormatInteger(number)) != number) std::abort();
  return 0;
}
