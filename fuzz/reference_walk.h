// Plain walks over bytes that the fuzz targets hold the core's answers
// against. Each is written from the rules in the most direct way, with no
// care for speed, so that a fault in the fast code cannot hide in the same
// shortcut here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veskra::reference {

inline bool IsLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// The 0-based offsets at which a character-wise scan from `first` stands:
// `first`, then one byte on after a single byte, two after a lead byte. A
// lead byte that is the text's last byte is still stood on, but ends it.
inline std::vector<std::size_t> ScanStops(std::string_view text, std::size_t first) {
  std::vector<std::size_t> stops;
  std::size_t o = first;
  while (o < text.size()) {
    stops.push_back(o);
    if (IsLead(text[o]) && o + 1 == text.size()) break;
    o += IsLead(text[o]) ? 2 : 1;
  }
  return stops;
}

inline bool MatchesAt(std::string_view text, std::string_view target, std::size_t o) {
  if (o + target.size() > text.size()) return false;
  for (std::size_t k = 0; k < target.size(); ++k) {
    if (text[o + k] != target[k]) return false;
  }
  return true;
}

inline std::int64_t Find(std::string_view text, std::string_view target, std::int64_t start) {
  const std::int64_t first = start >= 1 ? start - 1 : 0;
  if (first >= static_cast<std::int64_t>(text.size())) return -1;
  if (target.empty()) return 1;
  for (std::size_t o : ScanStops(text, static_cast<std::size_t>(first))) {
    if (MatchesAt(text, target, o)) return static_cast<std::int64_t>(o) + 1;
  }
  return -1;
}

inline std::int64_t FindLast(std::string_view text, std::string_view target) {
  if (text.empty()) return -1;
  if (target.empty()) return 1;
  std::int64_t last = -1;
  for (std::size_t o : ScanStops(text, 0)) {
    if (MatchesAt(text, target, o)) last = static_cast<std::int64_t>(o) + 1;
  }
  return last;
}

// The number a count text reads as: full-width forms folded to ASCII,
// blanks skipped, one sign, then digits, wrapping at 32 bits.
inline std::int32_t ParseCount(std::string_view text) {
  std::string folded;
  for (std::size_t o : ScanStops(text, 0)) {
    const unsigned char b = static_cast<unsigned char>(text[o]);
    if (!IsLead(text[o])) {
      folded += static_cast<char>(b);
      continue;
    }
    if (o + 1 == text.size()) break;
    const unsigned char t = static_cast<unsigned char>(text[o + 1]);
    if (b == 0xA1 && t == 0xA1) {
      folded += ' ';
    } else if (b == 0xA1 && t == 0xAB) {
      folded += '~';
    } else if (b == 0xA1 && (t == 0xEE || t == 0xEF)) {
      folded += '*';
    } else if (b == 0xA3 && t >= 0xA1 && t <= 0xFE) {
      folded += static_cast<char>(t - 0x80);
    } else {
      folded += static_cast<char>(b);
      folded += static_cast<char>(t);
    }
  }
  std::size_t i = folded.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return 0;
  std::int64_t sign = 1;
  if (folded[i] == '+' || folded[i] == '-') sign = folded[i++] == '-' ? -1 : 1;
  std::uint64_t value = 0;
  while (i < folded.size() && folded[i] >= '0' && folded[i] <= '9') {
    value = (value * 10 + static_cast<std::uint64_t>(folded[i++] - '0')) % (1ull << 32);
  }
  if (sign < 0) value = ((1ull << 32) - value) % (1ull << 32);
  const std::int64_t wide = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(wide >= (1ll << 31) ? wide - (1ll << 32) : wide);
}

// Where a book read from a file ends: the length of its text and the offset
// of the stop byte (the byte count when there is none). A NUL or a 0x1A
// that begins a character stops it; a lead byte followed by a NUL is
// dropped with it.
struct StopByteAt {
  std::size_t text_length;
  std::size_t stop_byte;
};
inline StopByteAt StopByte(std::string_view bytes) {
  for (std::size_t o : ScanStops(bytes, 0)) {
    if (bytes[o] == '\0' || bytes[o] == '\x1A') return {o, o};
    if (IsLead(bytes[o]) && o + 1 < bytes.size() && bytes[o + 1] == '\0') return {o, o + 1};
  }
  return {bytes.size(), bytes.size()};
}

}  // namespace veskra::reference
