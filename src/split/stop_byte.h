// Where a book's text ends: before its first stop byte. A stop byte is a NUL
// anywhere, or a 0x1A (Ctrl-Z) that begins a character. A lead byte followed
// by a NUL is dropped with it, so the text never ends on half a character.
#pragma once

#include <cstddef>
#include <optional>

#include "text/byte_text.h"

namespace veskra {

struct TextEnd {
  std::size_t text_length;  // bytes that belong to the text
  std::size_t stop_byte;    // offset of the stop byte; bytes.size() when none
};

// A fast byte search for the candidates, walking characters only around a
// NUL or a 0x1A to learn whether it begins a character.
TextEnd FindTextEnd(ByteView bytes);

// FindTextEnd's answer for bytes known to hold no stop byte before from.
TextEnd FindTextEndFrom(ByteView bytes, std::size_t from);

// The same answer by walking every character from the first byte: the plain
// reading of the rule, kept as the reference the fast search is checked
// against.
TextEnd FindTextEndByWalking(ByteView bytes);

inline std::size_t TextLengthBeforeStopByte(ByteView bytes) {
  return FindTextEnd(bytes).text_length;
}

// Guesses where a book file's text ends from its last byte alone, and
// watches the text's bytes part by part, as they are written out, for a stop
// byte that would prove the guess wrong. The guess is the whole file, less
// the stop byte that closes it if it has one (as an old DOS file ends in a
// Ctrl-Z). Each part is looked at while it is still fresh in the cache, so
// the book is read once, not once to search and again to write. A part with
// no NUL and no 0x1A passes at once; only a part that holds one makes the
// watch find the text's end, once, across the whole file.
class StopByteWatch {
 public:
  explicit StopByteWatch(ByteView file);

  // The text if no stop byte lies before the file's last byte.
  ByteView Guess() const { return guess_; }

  // False once the text is known to end elsewhere than the guess; true
  // while every part seen so far belongs to a text that may be the guess.
  // The parts are the guess's bytes, shown in order.
  bool TextRunsOnThrough(ByteView part);

  // The book's text: the file's bytes up to its first stop byte. Searches
  // the whole file unless the end is already known.
  ByteView Text();

 private:
  ByteView file_;
  ByteView guess_;
  std::optional<TextEnd> end_;
};

}  // namespace veskra
