// Where a book's text ends: before its first stop byte. A stop byte is a NUL
// anywhere, or a 0x1A (Ctrl-Z) that begins a character. A lead byte followed
// by a NUL is dropped with it, so the text never ends on half a character.
#pragma once

#include <cstddef>

#include "text/byte_text.h"

namespace veskra {

struct TextEnd {
  std::size_t text_length;  // bytes that belong to the text
  std::size_t stop_byte;    // offset of the stop byte; bytes.size() when none
};

// A fast byte search for the candidates, walking characters only around a
// NUL or a 0x1A to learn whether it begins a character.
TextEnd FindTextEnd(ByteView bytes);

// The same answer by walking every character from the first byte: the plain
// reading of the rule, kept as the reference the fast search is checked
// against.
TextEnd FindTextEndByWalking(ByteView bytes);

inline std::size_t TextLengthBeforeStopByte(ByteView bytes) {
  return FindTextEnd(bytes).text_length;
}

}  // namespace veskra
