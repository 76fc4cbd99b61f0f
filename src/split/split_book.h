// One split of a book file, shared by the window's split button and the
// command-line tool: read the book, cut it, write every piece beside it.
#pragma once

#include <cstdint>
#include <functional>

#include "split/cut_pieces.h"
#include "split/file_access.h"

namespace veskra {

// Counts above this are refused when they also exceed the book's length:
// every piece past the book's length would be an empty file.
constexpr std::int64_t kMostEmptyPieces = 100000;

enum class SplitStatus {
  kDone,            // every piece was handed to the writer (some may have failed)
  kBookUnreadable,  // the book could not be opened or read; nothing written
  kCountRefused,    // count > kMostEmptyPieces and > the book's length; nothing written
};

struct PieceResult {
  const PieceFile& piece;
  bool written;
  const SystemError& why;  // meaningful when !written
};

struct SplitOutcome {
  SplitStatus status = SplitStatus::kDone;
  SystemError book_error;  // for kBookUnreadable
  std::int64_t pieces_written = 0;
  std::int64_t pieces_failed = 0;
};

// Opens and reads the book, closes it, then cuts it and writes each piece.
// on_piece hears of each piece once, in order, written or not: once every
// piece is written, or, for counts above kMostEmptyPieces, as each is.
SplitOutcome SplitBookFile(ByteView path, ByteView count_text, ByteView delimiter,
                           const std::function<void(const PieceResult&)>& on_piece);

}  // namespace veskra
