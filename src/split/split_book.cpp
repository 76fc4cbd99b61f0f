#include "split/split_book.h"

namespace veskra {

namespace {

// Reads the whole book and closes it at once, so a later split may replace
// it as a piece. A failure leaves its reason in *why.
BookBytes ReadBook(ByteView path, SystemError* why) {
  const FileNumber book = OpenExistingFile(path, why);
  if (book == 0) return BookBytes();
  BookBytes text = ReadBookBytes(book, why);
  CloseFile(book);
  return text;
}

}  // namespace

SplitOutcome SplitBookFile(ByteView path, ByteView count_text, ByteView delimiter,
                           const std::function<void(const PieceResult&)>& on_piece) {
  SplitOutcome outcome;
  const BookBytes book_bytes = ReadBook(path, &outcome.book_error);
  const ByteView book = book_bytes.text();
  if (outcome.book_error.code != 0) {
    outcome.status = SplitStatus::kBookUnreadable;
    return outcome;
  }
  const std::int64_t count = ParseInteger(count_text);
  if (count > kMostEmptyPieces && count > ByteCount(book)) {
    outcome.status = SplitStatus::kCountRefused;
    return outcome;
  }
  CutPieces(path, book, count_text, delimiter, [&](const PieceFile& piece) {
    SystemError why;
    const bool written = WriteBytesToFile(piece.name, piece.bytes, &why);
    ++(written ? outcome.pieces_written : outcome.pieces_failed);
    if (on_piece) on_piece(PieceResult{piece, written, why});
  });
  return outcome;
}

}  // namespace veskra
