// FindForward and FindBackward against the plain walk. The input is two
// bytes of start (signed, little-endian), the target up to the first NUL,
// then the text (which may itself hold NUL bytes).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reference_walk.h"
#include "text/byte_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const auto start = static_cast<std::int16_t>(data[0] | (data[1] << 8));
  const std::string_view rest(reinterpret_cast<const char*>(data) + 2, size - 2);
  const std::size_t nul = rest.find('\0');
  const std::string_view target = rest.substr(0, nul);
  const std::string_view text = nul == std::string_view::npos ? "" : rest.substr(nul + 1);

  namespace ref = veskra::reference;
  if (veskra::FindForward(text, target, start) != ref::Find(text, target, start)) std::abort();
  if (veskra::FindForward(text, target) != ref::Find(text, target, 1)) std::abort();
  if (veskra::FindBackward(text, target) != ref::FindLast(text, target)) std::abort();
  // The line break the cutting searches for, from the same start.
  if (veskra::FindForward(text, "\r\n", start) != ref::Find(text, "\r\n", start)) std::abort();
  return 0;
}
