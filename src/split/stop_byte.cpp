#include "split/stop_byte.h"

#include <cstring>

namespace veskra {

namespace {

constexpr char kNul = 0x00;
constexpr char kCtrlZ = 0x1A;

// The byte after any byte below 0x80 begins a character: that byte is either
// a one-byte character or the second byte of a two-byte one. So whether
// `at` begins a character depends only on the run of lead-range bytes just
// before it: an even run ends on a character boundary.
std::size_t LeadRangeRunBefore(ByteView bytes, std::size_t at) {
  std::size_t run = 0;
  while (run < at && IsLeadByte(static_cast<unsigned char>(bytes[at - run - 1]))) ++run;
  return run;
}

const char* FindByte(const char* from, const char* end, char b) {
  const void* hit = std::memchr(from, b, static_cast<std::size_t>(end - from));
  return hit ? static_cast<const char*>(hit) : end;
}

}  // namespace

TextEnd FindTextEnd(ByteView bytes) { return FindTextEndFrom(bytes, 0); }

TextEnd FindTextEndFrom(ByteView bytes, std::size_t from) {
  const char* const begin = bytes.data();
  const char* const end = begin + bytes.size();
  // A NUL stops the text wherever it stands; only a 0x1A before it can end
  // the text earlier.
  const char* const nul = FindByte(begin + from, end, kNul);
  for (const char* z = FindByte(begin + from, nul, kCtrlZ); z != nul;
       z = FindByte(z + 1, nul, kCtrlZ)) {
    const auto at = static_cast<std::size_t>(z - begin);
    if (LeadRangeRunBefore(bytes, at) % 2 == 0) return {at, at};
  }
  const auto at = static_cast<std::size_t>(nul - begin);
  if (at == bytes.size()) return {at, at};
  // A NUL right after a lead byte that begins a character takes it along.
  const std::size_t run = LeadRangeRunBefore(bytes, at);
  return {run % 2 == 1 ? at - 1 : at, at};
}

TextEnd FindTextEndByWalking(ByteView bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0x00 || b == 0x1A) return {i, i};
    if (IsLeadByte(b)) {
      if (i + 1 < bytes.size() && bytes[i + 1] == kNul) return {i, i + 1};
      i += 2;
    } else {
      ++i;
    }
  }
  return {bytes.size(), bytes.size()};
}

StopByteWatch::StopByteWatch(ByteView file)
    : file_(file),
      guess_(
          file.substr(0, FindTextEndFrom(file, file.empty() ? 0 : file.size() - 1).text_length)) {}

bool StopByteWatch::TextRunsOnThrough(ByteView part) {
  if (!end_ && std::memchr(part.data(), kNul, part.size()) == nullptr &&
      std::memchr(part.data(), kCtrlZ, part.size()) == nullptr) {
    return true;
  }
  return Text().size() == guess_.size();
}

ByteView StopByteWatch::Text() {
  if (!end_) end_ = FindTextEnd(file_);
  return file_.substr(0, end_->text_length);
}

}  // namespace veskra
