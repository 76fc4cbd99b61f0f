#include "split/cut_pieces.h"

namespace veskra {

ByteView BaseName(ByteView path) { return LeftPart(path, ByteCount(path) - 4); }

namespace {

// Answers FindForward(text, target, start) for starts that never decrease,
// in time linear in the text over all calls, so a book without line breaks
// is not walked to its end once for every piece.
//
// A scan that begins at any byte falls into step with the walk from the
// text's first byte right after the first byte below 0x80 that it meets:
// that byte is either a character of its own or the second byte of one. So
// only that byte needs a look of its own; from the byte after it on, the
// answer is the walk from the start, which is carried forward only once.
class ForwardSearch {
 public:
  ForwardSearch(ByteView text, ByteView target) : text_(text), target_(target) {}

  std::int64_t Find(std::int64_t start) {
    const std::size_t len = text_.size();
    const std::size_t p = start >= 1 ? static_cast<std::size_t>(start - 1) : 0;
    if (p >= len || target_.empty() || IsLeadByte(static_cast<unsigned char>(target_[0]))) {
      return FindForward(text_, target_, start);
    }
    // Before the first byte below 0x80 the scan meets only lead-range bytes,
    // none of which can begin the target.
    if (single_ < p) single_ = p;
    while (single_ < len && IsLeadByte(static_cast<unsigned char>(text_[single_]))) ++single_;
    if (single_ >= len) return -1;
    if ((single_ - p) % 2 == 0 && MatchesAt(single_)) return static_cast<std::int64_t>(single_) + 1;
    // The byte after it lies on the walk from the start.
    if (walk_ < single_ + 1) walk_ = single_ + 1;
    while (walk_ < len && len - walk_ >= target_.size()) {
      if (MatchesAt(walk_)) return static_cast<std::int64_t>(walk_) + 1;
      if (IsLeadByte(static_cast<unsigned char>(text_[walk_]))) {
        if (walk_ + 1 >= len) break;
        walk_ += 2;
      } else {
        walk_ += 1;
      }
    }
    walk_ = len;
    return -1;
  }

 private:
  bool MatchesAt(std::size_t o) const {
    return text_.size() - o >= target_.size() && text_.compare(o, target_.size(), target_) == 0;
  }

  ByteView text_;
  ByteView target_;
  std::size_t single_ = 0;  // first byte below 0x80 at or after the last start
  std::size_t walk_ = 0;    // on the walk from the start; no match before it since the last answer
};

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

  ForwardSearch search(book, delimiter);
  std::int64_t start = 1;
  for (std::int64_t i = 1; i <= count; ++i) {
    std::int64_t cut = search.Find(piece_size * i);
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
