// A whole split of a book file: the book is cut as if its text ran to the
// file's end, and a stop byte met while writing makes it cut again. Whatever
// the bytes, the pieces on disk and the pieces reported must be those of the
// text before the stop byte, cut once. The first input byte gives the count
// (1 to 16) and, in its high bits, a piece whose name a folder blocks, so
// that a piece also fails now and then; the rest is the book.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_files.h"
#include "reference_walk.h"
#include "split/split_book.h"

namespace {

namespace files = veskra::fuzz_files;

const files::Folder& Folder() {
  static const files::Folder folder("split");
  return folder;
}

struct Piece {
  std::string name;
  std::string bytes;
  bool written;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int count = (data[0] & 0x0F) + 1;
  const int blocked = (data[0] >> 4) & 0x07;  // 0: no piece is blocked
  const std::string count_text = std::to_string(count);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string book = Folder() / "book.txt";

  Folder().Empty();
  files::WriteRaw(book, bytes);
  const std::string blocked_name = Folder() / ("book" + std::to_string(blocked) + ".txt");
  if (blocked != 0 && mkdir(blocked_name.c_str(), 0755) != 0) std::abort();

  std::vector<Piece> heard;
  const veskra::SplitOutcome outcome =
      veskra::SplitBookFile(book, count_text, "\r\n", [&](const veskra::PieceResult& result) {
        heard.push_back({result.piece.name, std::string(result.piece.bytes), result.written});
      });
  if (outcome.status != veskra::SplitStatus::kDone) std::abort();

  const std::string_view text = bytes.substr(0, veskra::reference::StopByte(bytes).text_length);
  std::vector<Piece> expected;
  veskra::CutPieces(book, text, count_text, "\r\n", [&](const veskra::PieceFile& piece) {
    expected.push_back({piece.name, std::string(piece.bytes), piece.name != blocked_name});
  });

  if (heard.size() != expected.size()) std::abort();
  std::vector<std::string> names = {"book.txt"};
  std::int64_t written = 0;
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const Piece& got = heard[k];
    if (got.name != expected[k].name || got.bytes != expected[k].bytes) std::abort();
    if (got.written != expected[k].written) std::abort();
    if (got.written && files::ReadRaw(got.name) != got.bytes) std::abort();
    written += got.written ? 1 : 0;
    names.push_back(got.name.substr(Folder().path().size() + 1));
  }
  if (outcome.pieces_written != written ||
      outcome.pieces_failed != static_cast<std::int64_t>(expected.size()) - written) {
    std::abort();
  }
  // Nothing else is left beside the book: no temporary file, and the
  // blocking folder is still there under its piece's name.
  std::vector<std::string> found = files::NamesIn(Folder().path());
  if (blocked > count) names.push_back("book" + std::to_string(blocked) + ".txt");
  std::sort(found.begin(), found.end());
  std::sort(names.begin(), names.end());
  if (found != names) std::abort();
  return 0;
}
