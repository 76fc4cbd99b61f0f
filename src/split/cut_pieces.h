// Cutting a book's text into piece files of roughly equal size, each cut on
// a delimiter (CR LF). The pieces joined in order are always the book.
#pragma once

#include <cstdint>
#include <functional>

#include "text/byte_text.h"

namespace veskra {

// A piece file: its name beside the book, and its bytes, a view into the
// book's text that stays valid as long as the book does.
struct PieceFile {
  ByteText name;
  ByteView bytes;
};

using PieceReceiver = std::function<void(const PieceFile&)>;

// The book path less its last four bytes (the extension); empty for a path
// of four bytes or fewer.
ByteView BaseName(ByteView path);

// The middle of the last piece's name: the count text as typed, unless it
// holds a byte that cannot stand in a file name (\ / : * ? " < > | or a
// control byte), in which case the parsed number stands there instead.
ByteText LastPieceLabel(ByteView count_text);

// Hands each piece file to the receiver in order, each before the next cut
// is searched. A count text that parses to 0 or less yields no piece.
void CutPieces(ByteView path, ByteView book, ByteView count_text, ByteView delimiter,
               const PieceReceiver& receiver);

}  // namespace veskra
