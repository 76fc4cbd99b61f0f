#include "split/split_book.h"

#include <vector>

#include "split/stop_byte.h"

namespace veskra {

namespace {

// Reads the whole book and closes it at once, so a later split may replace
// it as a piece. A failure leaves its reason in *why.
BookBytes ReadBook(ByteView path, SystemError* why) {
  const FileNumber book = OpenExistingFile(path, why);
  if (book == 0) return BookBytes();
  BookBytes bytes = ReadBookBytes(book, why);
  CloseFile(book);
  return bytes;
}

struct PieceRecord {
  PieceFile piece;
  bool written;
  SystemError why;
};

using PieceRecorder = std::function<void(const PieceFile&, bool written, SystemError&& why)>;

// Cuts text (the book's bytes, or the start of them) into pieces and writes
// each one, telling record how it went. With a watch, every part of every
// piece is shown to it just before it is written; the first part it turns
// down abandons that piece and the rest, and the result is false: the text
// was cut to the wrong length, and its pieces must be cut again.
bool WritePieces(BookBytes& book, ByteView path, ByteView text, ByteView count_text,
                 ByteView delimiter, StopByteWatch* watch, const PieceRecorder& record) {
  bool turned_down = false;
  PartCheck check;
  if (watch) {
    check = [&](ByteView part) {
      turned_down = !watch->TextRunsOnThrough(part);
      return !turned_down;
    };
  }
  bool any_failed = false;
  CutPieces(path, text, count_text, delimiter, [&](const PieceFile& piece) {
    if (turned_down) return;
    SystemError why;
    const bool written = book.WritePiece(piece.name, piece.bytes, &why, check);
    if (turned_down) return;
    any_failed = any_failed || !written;
    record(piece, written, std::move(why));
  });
  // A piece that failed was not necessarily seen to its end.
  if (watch && !turned_down && any_failed) turned_down = watch->Text().size() != text.size();
  return !turned_down;
}

}  // namespace

SplitOutcome SplitBookFile(ByteView path, ByteView count_text, ByteView delimiter,
                           const std::function<void(const PieceResult&)>& on_piece) {
  SplitOutcome outcome;
  BookBytes book = ReadBook(path, &outcome.book_error);
  if (outcome.book_error.code != 0) {
    outcome.status = SplitStatus::kBookUnreadable;
    return outcome;
  }
  const PieceRecorder report = [&](const PieceFile& piece, bool written, SystemError&& why) {
    ++(written ? outcome.pieces_written : outcome.pieces_failed);
    if (on_piece) on_piece(PieceResult{piece, written, why});
  };
  StopByteWatch watch(book.bytes());
  const std::int64_t count = ParseInteger(count_text);
  if (count > kMostEmptyPieces) {
    // The text's end is needed to judge the count; past the limit, pieces
    // are reported as they are written rather than held.
    if (count > ByteCount(watch.Text())) {
      outcome.status = SplitStatus::kCountRefused;
      return outcome;
    }
    WritePieces(book, path, watch.Text(), count_text, delimiter, nullptr, report);
    return outcome;
  }
  // Almost every book's text runs to the end of its file, or to a Ctrl-Z
  // that closes it, so it is cut as if it did, and the watch looks for a
  // stop byte in each part of a piece just before writing it: the book is
  // read once, while it is written. The pieces are reported once the cut is
  // known to be right. In the rare book with a stop byte elsewhere, every
  // piece is cut again from the true text and written over the first try's.
  std::vector<PieceRecord> first_try;
  const PieceRecorder keep = [&](const PieceFile& piece, bool written, SystemError&& why) {
    first_try.push_back({piece, written, std::move(why)});
  };
  if (WritePieces(book, path, watch.Guess(), count_text, delimiter, &watch, keep)) {
    for (PieceRecord& piece : first_try) report(piece.piece, piece.written, std::move(piece.why));
  } else {
    WritePieces(book, path, watch.Text(), count_text, delimiter, nullptr, report);
  }
  return outcome;
}

}  // namespace veskra
