// Where a book read from a file ends: the fast search, the walk kept beside
// it, and the tests' own walk must agree on every file's bytes, and
// the text must hold no stop byte and no half of a character before a NUL.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "reference_walk.h"
#include "split/stop_byte.h"

namespace {

bool Same(veskra::TextEnd a, veskra::TextEnd b) {
  return a.text_length == b.text_length && a.stop_byte == b.stop_byte;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const veskra::TextEnd fast = veskra::FindTextEnd(bytes);
  const auto walked = veskra::reference::StopByte(bytes);
  const veskra::TextEnd expected{walked.text_length, walked.stop_byte};
  if (!Same(fast, expected)) std::abort();
  if (!Same(veskra::FindTextEndByWalking(bytes), expected)) std::abort();
  if (veskra::TextLengthBeforeStopByte(bytes) != expected.text_length) std::abort();

  const std::string_view text = bytes.substr(0, fast.text_length);
  if (text.find('\0') != std::string_view::npos) std::abort();
  if (fast.stop_byte < bytes.size()) {
    const auto stop = static_cast<unsigned char>(bytes[fast.stop_byte]);
    if (stop != 0x00 && stop != 0x1A) std::abort();
  }
  return 0;
}
