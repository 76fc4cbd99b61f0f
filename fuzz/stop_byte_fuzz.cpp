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

  // Searching from any point up to the first stop byte gives the same end.
  for (const std::size_t from : {expected.stop_byte / 2, expected.stop_byte}) {
    if (!Same(veskra::FindTextEndFrom(bytes, from), expected)) std::abort();
  }
  // The watch's guess never falls short of the text, and its parts pass
  // exactly when the guess is the text.
  veskra::StopByteWatch watch(bytes);
  const std::string_view guess = watch.Guess();
  if (guess.size() < expected.text_length || bytes.substr(0, guess.size()) != guess) std::abort();
  bool passed = true;
  for (std::size_t at = 0; at < guess.size(); at += 5) {
    passed = watch.TextRunsOnThrough(guess.substr(at, 5)) && passed;
  }
  if (passed != (guess.size() == expected.text_length)) std::abort();
  if (watch.Text() != bytes.substr(0, expected.text_length)) std::abort();

  const std::string_view text = bytes.substr(0, fast.text_length);
  if (text.find('\0') != std::string_view::npos) std::abort();
  if (fast.stop_byte < bytes.size()) {
    const auto stop = static_cast<unsigned char>(bytes[fast.stop_byte]);
    if (stop != 0x00 && stop != 0x1A) std::abort();
  }
  return 0;
}
