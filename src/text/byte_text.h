// Byte text and byte set: the two value types every part of Veskra speaks.
//
// A byte text is a run of GBK (code page 936) bytes without NUL; a byte set is
// a run of any bytes. Absent and empty are the same value. Positions count
// bytes from 1, and a search that finds nothing gives -1. Positions and
// lengths are 64-bit, so a book of any size is handled by the same rules;
// the number conversions (ParseInteger, RoundDown, WholePart) stay 32-bit.
//
// The part operations (LeftPart, RightPart, MiddlePart) return views into
// their argument, so cutting a book never copies it; copy a view into a
// ByteText when it must outlive the text it looks at.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace veskra {

using ByteText = std::string;
using ByteView = std::string_view;
// A byte set may hold NUL bytes; it shares the representation of byte text.
using ByteSet = std::string;
using ByteSetView = std::string_view;

// A lead byte begins a two-byte GBK character.
constexpr bool IsLeadByte(unsigned char b) { return b >= 0x80; }

bool TextsEqual(ByteView a, ByteView b);
std::int64_t ByteCount(ByteView text);

ByteView LeftPart(ByteView text, std::int64_t n);
ByteView RightPart(ByteView text, std::int64_t n);
ByteView MiddlePart(ByteView text, std::int64_t start, std::int64_t n);

// Walks the text character by character from `start` (1-based; 0 or less
// means 1), so a match only ever begins where a character begins.
std::int64_t FindForward(ByteView text, ByteView target, std::int64_t start = 1);
std::int64_t FindBackward(ByteView text, ByteView target);

std::int32_t ParseInteger(ByteView text);
std::int32_t RoundDown(double x);
std::int32_t WholePart(double x);
ByteText FormatInteger(std::int64_t value);

ByteText BytesAsText(ByteSetView bytes);
ByteSet TextAsBytes(ByteView text);
ByteText JoinTexts(std::initializer_list<ByteView> texts);

}  // namespace veskra
