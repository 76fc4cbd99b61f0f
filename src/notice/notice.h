// The notice: the short text that the announcement page carries between its
// two markers, and the read size its body is fetched in. Plain functions
// over bytes, with no platform code, so they run and are tested anywhere.
#pragma once

#include <cstdint>
#include <optional>

#include "text/byte_text.h"

namespace veskra {

// "开始1": the start marker (GBK).
inline constexpr char kNoticeStartMarker[] =
    "\xBF\xAA\xCA\xBC"
    "1";
// "结束1": the end marker (GBK).
inline constexpr char kNoticeEndMarker[] =
    "\xBD\xE1\xCA\xF8"
    "1";

// The notice held by a fetched page. The page is taken up to its first NUL
// byte; the notice is the text after the first start marker, up to the
// first end marker that follows it. A page without a start marker has no
// notice (empty), whatever else it holds, so an error page never leaks into
// the link by accident.
ByteText ExtractNotice(ByteSetView page_bytes);

// The number of bytes asked for in each read of a response body, from the
// response's Content-Length header text (nullopt when it has none): the
// length + 1 when that is a positive decimal number, at most 102400;
// otherwise 10240.
inline constexpr std::uint32_t kDefaultReadSize = 10240;
inline constexpr std::uint32_t kMaxReadSize = 102400;
std::uint32_t ReadSizeFor(const std::optional<ByteText>& content_length);

}  // namespace veskra
