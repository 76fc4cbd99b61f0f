#include "split/cut_pieces.h"

namespace veskra {

ByteView BaseName(ByteView path) { return LeftPart(path, ByteCount(path) - 4); }

namespace {

bool CannotStandInFileName(unsigned char b) {
  return b < 0x20 || b == '\\' || b == '/' || b == ':' || b == '*' || b == '?' || b == '"' ||
         b == '<' || b == '>' || b == '|';
}

}  // namespace

ByteText LastPieceLabel(ByteView count_text) {
  // Walk by characters: the second byte of a GBK character may be 0x5C or
  // 0x7C without being a backslash or a bar.
  for (std::size_t i = 0; i < count_text.size(); ++i) {
    const auto b = static_cast<unsigned char>(count_text[i]);
    if (IsLeadByte(b)) {
      ++i;
    } else if (CannotStandInFileName(b)) {
      return FormatInteger(ParseInteger(count_text));
    }
  }
  return ByteText(count_text);
}

void CutPieces(ByteView path, ByteView book, ByteView count_text, ByteView delimiter,
               const PieceReceiver& receiver) {
  const std::int64_t count = ParseInteger(count_text);
  if (count <= 0) return;
  const std::int64_t length = ByteCount(book);
  const std::int64_t piece_size = length / count;
  const ByteView base = BaseName(path);

  std::int64_t start = 1;
  for (std::int64_t i = 1; i <= count; ++i) {
    std::int64_t cut = FindForward(book, delimiter, piece_size * i);
    if (cut == -1) cut = length + 1;  // no delimiter left: cut at the end
    if (cut < start) cut = start;     // a cut never moves backwards
    receiver({JoinTexts({base, FormatInteger(i), ".txt"}), MiddlePart(book, start, cut - start)});
    if (i == count - 1) {
      // The last piece begins at the last cut, delimiter included, so no
      // byte of the book is lost or written twice.
      receiver({JoinTexts({base, LastPieceLabel(count_text), ".txt"}),
                RightPart(book, length - cut + 1)});
      return;
    }
    start = cut;
  }
}

}  // namespace veskra
