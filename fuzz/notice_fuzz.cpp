// The notice taken from any page: the text after the first start marker up
// to the first end marker after it, found by the plain walk; nothing when
// either is missing; never a byte from past the page's first NUL.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "notice/notice.h"
#include "reference_walk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view page = bytes.substr(0, bytes.find('\0'));
  const std::string_view start_marker = veskra::kNoticeStartMarker;
  const std::string_view end_marker = veskra::kNoticeEndMarker;

  std::string expected;
  const std::int64_t s = veskra::reference::Find(page, start_marker, 1);
  if (s > 0) {
    const std::int64_t first = s + static_cast<std::int64_t>(start_marker.size());
    const std::int64_t e = veskra::reference::Find(page, end_marker, first);
    if (e > 0)
      expected =
          page.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(e - first));
  }
  const veskra::ByteText notice = veskra::ExtractNotice(bytes);
  if (notice != expected) std::abort();
  if (notice.find('\0') != std::string::npos) std::abort();
  return 0;
}
