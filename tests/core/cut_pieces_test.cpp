#include "split/cut_pieces.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace veskra {
namespace {

struct Piece {
  std::string name;
  std::string bytes;
  bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Piece& p) {
  return os << p.name << " [" << p.bytes << "]";
}

std::vector<Piece> Cut(ByteView path, ByteView book, ByteView count_text) {
  std::vector<Piece> pieces;
  CutPieces(path, book, count_text, "\r\n", [&](const PieceFile& piece) {
    pieces.push_back({piece.name, std::string(piece.bytes)});
  });
  return pieces;
}

// aaaa CR LF bbbb CR LF cccc: CR LF at bytes 5-6 and 11-12.
const std::string kBook = "aaaa\r\nbbbb\r\ncccc";
const std::string kPath = "C:\\books\\novel.txt";

std::string Bytes(int from, int to) { return kBook.substr(from - 1, to - from + 1); }

struct CutCase {
  std::string count_text;
  std::vector<Piece> want;
};

TEST(CutPieces, WorkedExample) {
  const std::string b = "C:\\books\\novel";
  std::vector<Piece> twenty = {{b + "1.txt", Bytes(1, 4)}};
  for (int i = 2; i <= 19; ++i) twenty.push_back({b + std::to_string(i) + ".txt", ""});
  twenty.push_back({b + "20.txt", Bytes(5, 16)});

  const CutCase cases[] = {
      {"1", {{b + "1.txt", kBook}}},
      {"2", {{b + "1.txt", Bytes(1, 10)}, {b + "2.txt", Bytes(11, 16)}}},
      {"3",
       {{b + "1.txt", Bytes(1, 4)}, {b + "2.txt", Bytes(5, 10)}, {b + "3.txt", Bytes(11, 16)}}},
      {"03",
       {{b + "1.txt", Bytes(1, 4)}, {b + "2.txt", Bytes(5, 10)}, {b + "03.txt", Bytes(11, 16)}}},
      {"5",
       {{b + "1.txt", Bytes(1, 4)},
        {b + "2.txt", Bytes(5, 10)},
        {b + "3.txt", ""},
        {b + "4.txt", Bytes(11, 16)},
        {b + "5.txt", ""}}},
      {"20", twenty},
      {"0", {}},
      {"-2", {}},
      {"abc", {}},
      {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Cut(kPath, kBook, c.count_text), c.want) << c.count_text;
}

TEST(CutPieces, LastNameKeepsCountTextAsTyped) {
  const struct {
    std::string count_text;
    std::string last_name;
  } cases[] = {
      {" 3", "C:\\books\\novel 3.txt"},
      {"\xA3\xB3", "C:\\books\\novel\xA3\xB3.txt"},  // full-width 3 stays full-width
      {"2.5", "C:\\books\\novel2.5.txt"},
      {"\xA1\xA1"
       "2",
       "C:\\books\\novel\xA1\xA1"
       "2.txt"},
      // Bytes that cannot stand in a file name give way to the number.
      {"2\\..\\..\\x", "C:\\books\\novel2.txt"},
      {"3/", "C:\\books\\novel3.txt"},
      {"2:x", "C:\\books\\novel2.txt"},
      {"2*?\"<>|", "C:\\books\\novel2.txt"},
      {"2\r\n", "C:\\books\\novel2.txt"},
      {"2\t", "C:\\books\\novel2.txt"},
      // A GBK character whose second byte is 0x5C or 0x7C is no separator.
      {"2\xB0\\", "C:\\books\\novel2\xB0\\.txt"},
      {"2\xB0|", "C:\\books\\novel2\xB0|.txt"},
  };
  for (const auto& c : cases) {
    const auto pieces = Cut(kPath, kBook, c.count_text);
    ASSERT_FALSE(pieces.empty()) << c.count_text;
    EXPECT_EQ(pieces.back().name, c.last_name) << c.count_text;
  }
}

TEST(CutPieces, BaseNameDropsLastFourBytes) {
  EXPECT_EQ(BaseName("C:\\x\\readme.text"), "C:\\x\\readme.");
  EXPECT_EQ(BaseName("a.tx"), "");
  EXPECT_EQ(BaseName("ab.txt"), "ab");
  EXPECT_EQ(BaseName(""), "");
  const auto pieces = Cut("b.tx", "x\r\ny", "2");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], (Piece{"1.txt", "x"}));
  EXPECT_EQ(pieces[1], (Piece{"2.txt", "\r\ny"}));
}

TEST(CutPieces, BooksWithoutCutsStayWhole) {
  // No CR LF at all: the first search cuts at the end, so the first piece
  // holds the whole book and the rest are empty.
  EXPECT_EQ(
      Cut("a\\b.txt", "one\ntwo\nthree", "3"),
      (std::vector<Piece>{{"a\\b1.txt", "one\ntwo\nthree"}, {"a\\b2.txt", ""}, {"a\\b3.txt", ""}}));
  // An empty book gives count empty pieces.
  EXPECT_EQ(Cut("a\\b.txt", "", "2"), (std::vector<Piece>{{"a\\b1.txt", ""}, {"a\\b2.txt", ""}}));
  // A book ending in CR LF, last cut on it: the last piece is that CR LF.
  EXPECT_EQ(Cut("a\\b.txt", "ab\r\n", "2"),
            (std::vector<Piece>{{"a\\b1.txt", "ab"}, {"a\\b2.txt", "\r\n"}}));
}

TEST(CutPieces, CutOnTrailByteMovesToNextLineBreak) {
  // Piece size 3 lands on A1, the trail byte of B0 A1: the scan takes it for
  // a lead byte, passes over the CR, and cuts at the next CR LF.
  const std::string book = "x\xB0\xA1\r\nyy\r\nzz";
  const auto pieces = Cut("a\\b.txt", book, "3");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].bytes, "x\xB0\xA1\r\nyy");
}

// Generated books: GBK characters, CR LF and LF-only lines, long lines, and
// trail bytes of 0x80 or more before CR LF. Whatever the count, the pieces
// joined are the book and the names follow the rules.
TEST(CutPieces, PiecesAlwaysJoinToTheBook) {
  std::mt19937 rng(20261211);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 200; ++round) {
    std::string book;
    const int parts = pick(80);
    for (int p = 0; p < parts; ++p) {
      switch (pick(6)) {
        case 0:
          book += "\r\n";
          break;
        case 1:
          book += "\n";
          break;
        case 2:
          book += "\xB0\xA1\xD6\xD0";
          break;  // 啊中
        case 3:
          book += "\xB0\xFE\r\n";
          break;  // trail byte 0xFE before CR LF
        case 4:
          book += std::string(pick(40), 'x');
          break;
        default:
          book += "\xCE\xC4\\|";
          break;
      }
    }
    for (int count = 1; count <= 60; ++count) {
      const std::string count_text = std::to_string(count);
      const auto pieces = Cut("d\\book.txt", book, count_text);
      ASSERT_EQ(pieces.size(), static_cast<std::size_t>(count));
      std::string joined;
      for (std::size_t i = 0; i < pieces.size(); ++i) {
        joined += pieces[i].bytes;
        ASSERT_EQ(pieces[i].name, "d\\book" + std::to_string(i + 1) + ".txt");
        if (i > 0 && i + 1 < pieces.size() && !pieces[i].bytes.empty()) {
          ASSERT_EQ(pieces[i].bytes.substr(0, 2), "\r\n") << "round " << round;
        }
      }
      ASSERT_EQ(joined, book) << "round " << round << " count " << count;
    }
  }
}

// The mended rules written plainly, one full search per pass: the cutting
// must give exactly these pieces, however it carries its searches forward.
std::vector<Piece> CutPlainly(ByteView path, ByteView book, ByteView count_text) {
  std::vector<Piece> pieces;
  const std::int64_t count = ParseInteger(count_text);
  const std::int64_t length = ByteCount(book);
  std::int64_t start = 1;
  for (std::int64_t i = 1; count > 0 && i <= count; ++i) {
    std::int64_t cut = FindForward(book, "\r\n", (length / count) * i);
    if (cut == -1) cut = length + 1;
    if (cut < start) cut = start;
    pieces.push_back({JoinTexts({BaseName(path), FormatInteger(i), ".txt"}),
                      std::string(MiddlePart(book, start, cut - start))});
    if (i == count - 1) {
      pieces.push_back({JoinTexts({BaseName(path), LastPieceLabel(count_text), ".txt"}),
                        std::string(RightPart(book, length - cut + 1))});
      break;
    }
    start = cut;
  }
  return pieces;
}

// Books rich in what makes the character walk differ by where it starts:
// long runs of lead-range bytes, trail bytes below 0x80, CR LF after them.
TEST(CutPieces, CutsMatchOneFullSearchPerPass) {
  std::mt19937 rng(7);
  const char* const parts[] = {"\r\n", "\xB0", "\xA1", "\r", "\n", "a", "\xB0\r\n", "\x81\\"};
  for (int round = 0; round < 300; ++round) {
    std::string book;
    const int n = static_cast<int>(rng() % 120);
    for (int k = 0; k < n; ++k) book += parts[rng() % std::size(parts)];
    for (int count = 1; count <= 40; ++count) {
      const std::string count_text = std::to_string(count);
      ASSERT_EQ(Cut("x.txt", book, count_text), CutPlainly("x.txt", book, count_text))
          << "round " << round << " count " << count;
    }
  }
}

TEST(CutPieces, EachPieceIsHandedOverAsAViewOfTheBook) {
  const std::string book = kBook;
  CutPieces(kPath, book, "3", "\r\n", [&](const PieceFile& piece) {
    if (piece.bytes.empty()) return;
    EXPECT_GE(piece.bytes.data(), book.data());
    EXPECT_LE(piece.bytes.data() + piece.bytes.size(), book.data() + book.size());
  });
}

}  // namespace
}  // namespace veskra
