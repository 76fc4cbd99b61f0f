// CutPieces with any path, count text and book. The input is the path, a
// NUL, the count text, a NUL, then the book: byte texts hold no NUL, so the
// NUL is free to part them. Every piece is checked as it arrives, and the
// whole split against a model cut by the plain walk.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "reference_walk.h"
#include "split/cut_pieces.h"

namespace {

namespace ref = veskra::reference;

constexpr std::string_view kLineBreak = "\r\n";
// Every pass of the loop hands over a piece, so a huge count takes as long
// as it says; the refusal of such counts lies above the cutting.
constexpr std::int32_t kMostPiecesTried = 3000;

struct ModelPiece {
  std::string name;
  std::string_view bytes;
};

bool CannotStandInName(unsigned char b) {
  return b < 0x20 ||
         std::string_view("\\/:*?\"<>|").find(static_cast<char>(b)) != std::string_view::npos;
}

std::string ModelLabel(std::string_view count_text, std::int32_t count) {
  for (std::size_t o : ref::ScanStops(count_text, 0)) {
    if (!ref::IsLead(count_text[o]) &&
        CannotStandInName(static_cast<unsigned char>(count_text[o]))) {
      return std::to_string(count);
    }
  }
  return std::string(count_text);
}

std::vector<ModelPiece> ModelCut(std::string_view path, std::string_view book,
                                 std::string_view count_text) {
  std::vector<ModelPiece> pieces;
  const std::int64_t count = ref::ParseCount(count_text);
  const std::int64_t length = static_cast<std::int64_t>(book.size());
  const std::string base(path.substr(0, path.size() > 4 ? path.size() - 4 : 0));
  std::int64_t start = 1;
  for (std::int64_t i = 1; i <= count; ++i) {
    std::int64_t cut = ref::Find(book, kLineBreak, (length / count) * i);
    if (cut < 0) cut = length + 1;
    if (cut < start) cut = start;
    pieces.push_back(
        {base + std::to_string(i) + ".txt",
         book.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(cut - start))});
    if (i == count - 1) {
      pieces.push_back({base + ModelLabel(count_text, static_cast<std::int32_t>(count)) + ".txt",
                        book.substr(static_cast<std::size_t>(cut - 1))});
      break;
    }
    start = cut;
  }
  return pieces;
}

// The middle of a name must be a number, or the count text when it is fit
// to stand in a file name.
void CheckName(const std::string& name, std::string_view base, std::string_view count_text,
               bool last) {
  if (name.size() < base.size() + 4 || name.compare(0, base.size(), base) != 0 ||
      name.compare(name.size() - 4, 4, ".txt") != 0) {
    std::abort();
  }
  const std::string_view middle =
      std::string_view(name).substr(base.size(), name.size() - base.size() - 4);
  const bool digits =
      !middle.empty() && middle.find_first_not_of("0123456789") == std::string_view::npos;
  if (!digits && !(last && middle == count_text)) std::abort();
  for (std::size_t o : ref::ScanStops(middle, 0)) {
    if (!ref::IsLead(middle[o]) && CannotStandInName(static_cast<unsigned char>(middle[o]))) {
      std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t first_nul = input.find('\0');
  if (first_nul == std::string_view::npos) return 0;
  const std::size_t second_nul = input.find('\0', first_nul + 1);
  if (second_nul == std::string_view::npos) return 0;
  const std::string_view path = input.substr(0, first_nul);
  const std::string_view count_text = input.substr(first_nul + 1, second_nul - first_nul - 1);
  const std::string_view book = input.substr(second_nul + 1);
  const std::int32_t count = ref::ParseCount(count_text);
  if (count > kMostPiecesTried) return 0;

  const std::string_view base = veskra::BaseName(path);
  std::vector<veskra::PieceFile> got;
  const char* next_byte = book.data();
  veskra::CutPieces(path, book, count_text, kLineBreak, [&](const veskra::PieceFile& piece) {
    // Each piece starts where the one before it ended: a cut never moves
    // backwards, and no byte is skipped or handed over twice.
    if (!piece.bytes.empty() && piece.bytes.data() != next_byte) std::abort();
    if (!piece.bytes.empty()) next_byte = piece.bytes.data() + piece.bytes.size();
    got.push_back(piece);
  });

  const std::vector<ModelPiece> expected = ModelCut(path, book, count_text);
  if (got.size() != expected.size()) std::abort();
  if (count <= 0 && !got.empty()) std::abort();
  if (count == 1 && got.size() != 1) std::abort();
  if (count >= 2 && got.size() != static_cast<std::size_t>(count)) std::abort();

  std::string joined;
  for (std::size_t k = 0; k < got.size(); ++k) {
    if (got[k].name != expected[k].name || got[k].bytes != expected[k].bytes) std::abort();
    CheckName(got[k].name, base, count_text, k + 1 == got.size() && count >= 2);
    // Every cut but the end of the book falls just before a line break.
    if (k + 1 < got.size()) {
      const std::size_t end = joined.size() + got[k].bytes.size();
      if (end < book.size() && book.compare(end, 2, kLineBreak) != 0) std::abort();
    }
    joined += got[k].bytes;
  }
  if (count >= 1 && joined != book) std::abort();
  return 0;
}
