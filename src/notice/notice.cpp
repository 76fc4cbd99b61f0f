#include "notice/notice.h"

namespace veskra {

namespace {

constexpr std::int64_t kMarkerLength = 5;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

ByteText ExtractNotice(ByteSetView page_bytes) {
  const ByteText page = BytesAsText(page_bytes);
  const std::int64_t start = FindForward(page, kNoticeStartMarker);
  if (start < 0) return {};
  const std::int64_t first = start + kMarkerLength;
  const std::int64_t end = FindForward(page, kNoticeEndMarker, first);
  if (end < 0) return {};
  return ByteText(MiddlePart(page, first, end - first));
}

std::uint32_t ReadSizeFor(const std::optional<ByteText>& content_length) {
  if (!content_length) return kDefaultReadSize;
  const ByteText& text = *content_length;
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Saturates, so a length too large to count is still "large", never
  // wrapped round to a small or negative one.
  std::int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    n = n * 10 + (text[i] - '0');
    if (n > kMaxReadSize) n = kMaxReadSize;
  }
  if (negative || n <= 0) return kDefaultReadSize;
  return n + 1 <= kMaxReadSize ? static_cast<std::uint32_t>(n + 1) : kMaxReadSize;
}

}  // namespace veskra
