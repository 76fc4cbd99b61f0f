#include "text/byte_text.h"

#include <cmath>
#include <limits>

namespace veskra {

bool TextsEqual(ByteView a, ByteView b) { return a == b; }

std::int64_t ByteCount(ByteView text) { return static_cast<std::int64_t>(text.size()); }

ByteView LeftPart(ByteView text, std::int64_t n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(std::min(n, ByteCount(text))));
}

ByteView RightPart(ByteView text, std::int64_t n) {
  const std::int64_t len = ByteCount(text);
  if (n <= 0) return {};
  if (n >= len) return text;
  return text.substr(static_cast<std::size_t>(len - n));
}

ByteView MiddlePart(ByteView text, std::int64_t start, std::int64_t n) {
  const std::int64_t len = ByteCount(text);
  if (start < 1 || start > len || n <= 0) return {};
  return text.substr(static_cast<std::size_t>(start - 1),
                     static_cast<std::size_t>(std::min(n, len - start + 1)));
}

namespace {

// The character-wise scan shared by both finds. It stands at offset `o` and
// calls `on_match` (which returns true to stop) at each character start where
// the target's bytes follow. A lead byte at the very end ends the scan.
template <typename OnMatch>
void ScanForTarget(ByteView text, ByteView target, std::size_t o, OnMatch on_match) {
  const std::size_t len = text.size();
  const std::size_t t = target.size();
  while (o < len && len - o >= t) {
    if (text.compare(o, t, target) == 0 && on_match(o)) return;
    if (IsLeadByte(static_cast<unsigned char>(text[o]))) {
      if (o + 1 >= len) return;
      o += 2;
    } else {
      o += 1;
    }
  }
}

}  // namespace

std::int64_t FindForward(ByteView text, ByteView target, std::int64_t start) {
  const std::int64_t len = ByteCount(text);
  const std::int64_t p = start >= 1 ? start - 1 : 0;
  if (p >= len) return -1;
  if (target.empty()) return 1;
  std::int64_t found = -1;
  ScanForTarget(text, target, static_cast<std::size_t>(p), [&](std::size_t o) {
    found = static_cast<std::int64_t>(o) + 1;
    return true;
  });
  return found;
}

std::int64_t FindBackward(ByteView text, ByteView target) {
  if (text.empty()) return -1;
  if (target.empty()) return 1;
  std::int64_t found = -1;
  ScanForTarget(text, target, 0, [&](std::size_t o) {
    found = static_cast<std::int64_t>(o) + 1;
    return false;  // overlapping occurrences count; the last one wins
  });
  return found;
}

namespace {

// Full-width GBK forms that ParseInteger reads as their ASCII twins.
int FoldFullWidth(unsigned char lead, unsigned char trail) {
  if (lead == 0xA1 && trail == 0xA1) return ' ';
  if (lead == 0xA1 && trail == 0xAB) return '~';
  if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return '*';
  if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
  return -1;
}

ByteText FoldForNumber(ByteView text) {
  ByteText folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(b)) {
      folded.push_back(static_cast<char>(b));
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lone lead byte at the end is dropped
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    const int ascii = FoldFullWidth(b, trail);
    if (ascii >= 0) {
      folded.push_back(static_cast<char>(ascii));
    } else {
      folded.append(text.substr(i, 2));
    }
    ++i;
  }
  return folded;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::int32_t ParseInteger(ByteView text) {
  const ByteText folded = FoldForNumber(text);
  std::size_t i = 0;
  while (i < folded.size() && IsBlank(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;  // unsigned, so overflow wraps as two's complement
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(folded[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

namespace {

// Whole numbers beyond 32 bits are held at the nearest bound rather than
// left to the undefined behaviour of a narrowing conversion.
std::int32_t ToInt32(double whole) {
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (whole <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (whole >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(whole);
}

}  // namespace

std::int32_t RoundDown(double x) {
  if (!std::isfinite(x)) return 0;
  const double whole = std::trunc(x);
  if (x > 0 && x - whole > 0.999999999999) return ToInt32(whole + 1);
  return ToInt32(std::floor(x));
}

std::int32_t WholePart(double x) {
  if (!std::isfinite(x)) return 0;
  return ToInt32(std::trunc(x));
}

ByteText FormatInteger(std::int64_t value) { return std::to_string(value); }

ByteText BytesAsText(ByteSetView bytes) {
  return ByteText(bytes.substr(0, bytes.find('\0')));
}

ByteSet TextAsBytes(ByteView text) { return ByteSet(text); }

ByteText JoinTexts(std::initializer_list<ByteView> texts) {
  std::size_t total = 0;
  for (ByteView t : texts) total += t.size();
  ByteText joined;
  joined.reserve(total);
  for (ByteView t : texts) joined.append(t);
  return joined;
}

}  // namespace veskra
