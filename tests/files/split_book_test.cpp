#include "split/split_book.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scratch.h"

namespace veskra {
namespace {

using testing::ReadWhole;
using testing::ScratchFolder;
using testing::WriteWhole;

// aaaa CR LF bbbb CR LF cccc: CR LF at bytes 5-6 and 11-12.
const ByteText kBook = "aaaa\r\nbbbb\r\ncccc";

struct Heard {
  ByteText name;
  bool written;
  std::uint32_t code;
  ByteText bytes;
};

class SplitBook : public ::testing::Test {
 protected:
  void TearDown() override { CloseAllFiles(); }

  SplitOutcome Split(ByteView path, ByteView count_text) {
    heard_.clear();
    return SplitBookFile(path, count_text, "\r\n", [this](const PieceResult& result) {
      heard_.push_back(
          {result.piece.name, result.written, result.why.code, ByteText(result.piece.bytes)});
    });
  }

  ScratchFolder folder_;
  std::vector<Heard> heard_;
};

TEST_F(SplitBook, WritesEachPieceBesideTheBook) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  const SplitOutcome outcome = Split(book, "3");
  EXPECT_EQ(outcome.status, SplitStatus::kDone);
  EXPECT_EQ(outcome.pieces_written, 3);
  EXPECT_EQ(outcome.pieces_failed, 0);
  EXPECT_EQ(folder_.Names(),
            (std::vector<ByteText>{"novel.txt", "novel1.txt", "novel2.txt", "novel3.txt"}));
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "aaaa");
  EXPECT_EQ(ReadWhole(folder_ / "novel2.txt"), "\r\nbbbb");
  EXPECT_EQ(ReadWhole(folder_ / "novel3.txt"), "\r\ncccc");
  ASSERT_EQ(heard_.size(), 3u);
  EXPECT_EQ(heard_[2].name, folder_ / "novel3.txt");
  EXPECT_TRUE(heard_[2].written);
}

TEST_F(SplitBook, UnreadableBookWritesNothing) {
  const ByteText book = folder_ / "missing.txt";
  const SplitOutcome outcome = Split(book, "3");
  EXPECT_EQ(outcome.status, SplitStatus::kBookUnreadable);
  EXPECT_EQ(outcome.book_error.code, 2u);  // ENOENT, ERROR_FILE_NOT_FOUND
  EXPECT_FALSE(outcome.book_error.message.empty());
  EXPECT_EQ(outcome.pieces_written, 0);
  EXPECT_TRUE(heard_.empty());
  EXPECT_EQ(folder_.Names(), std::vector<ByteText>{});
}

TEST_F(SplitBook, EmptyBookGivesEmptyPieces) {
  const ByteText book = folder_ / "empty.txt";
  WriteWhole(book, "");
  EXPECT_EQ(Split(book, "2").status, SplitStatus::kDone);
  EXPECT_EQ(folder_.Names(), (std::vector<ByteText>{"empty.txt", "empty1.txt", "empty2.txt"}));
  EXPECT_EQ(ReadWhole(folder_ / "empty2.txt"), "");
}

TEST_F(SplitBook, RefusesCountsThatWouldOnlyAddEmptyPieces) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  for (const char* count : {"100001", "2147483647"}) {
    const SplitOutcome outcome = Split(book, count);
    EXPECT_EQ(outcome.status, SplitStatus::kCountRefused) << count;
    EXPECT_EQ(outcome.pieces_written, 0);
    EXPECT_TRUE(heard_.empty());
    EXPECT_EQ(folder_.Names(), std::vector<ByteText>{"novel.txt"});
  }
}

// A hundred thousand pieces take minutes under Wine; the rule is portable
// code, and the refusal itself is checked on every platform above and by the
// command's end-to-end run.
#ifndef _WIN32
TEST_F(SplitBook, CountAboveTheLimitSplitsABookLongerThanIt) {
  // 50001 lines "x" CR LF: 150003 bytes, a CR at every byte 3k + 2.
  ByteText lines;
  for (int i = 0; i < 50001; ++i) lines += "x\r\n";
  const ByteText book = folder_ / "long.txt";
  WriteWhole(book, lines);
  const SplitOutcome outcome = Split(book, "100001");
  EXPECT_EQ(outcome.status, SplitStatus::kDone);
  EXPECT_EQ(outcome.pieces_written, 100001);
  EXPECT_EQ(ReadWhole(folder_ / "long1.txt"), "x");
  // The last cut is the CR LF at byte 100001.
  EXPECT_EQ(ReadWhole(folder_ / "long100001.txt"), "\r\n" + lines.substr(0, 3 * 16667));
}

TEST_F(SplitBook, CountAtTheLimitStillSplitsAShortBook) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  const SplitOutcome outcome = Split(book, "100000");
  EXPECT_EQ(outcome.status, SplitStatus::kDone);
  EXPECT_EQ(outcome.pieces_written, 100000);
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "aaaa");
  EXPECT_EQ(ReadWhole(folder_ / "novel100000.txt"), "\r\nbbbb\r\ncccc");
}

#endif  // _WIN32

TEST_F(SplitBook, CountOfTwentyOnTheSixteenByteBook) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  EXPECT_EQ(Split(book, "20").pieces_written, 20);
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "aaaa");
  EXPECT_EQ(ReadWhole(folder_ / "novel19.txt"), "");
  EXPECT_EQ(ReadWhole(folder_ / "novel20.txt"), "\r\nbbbb\r\ncccc");
}

TEST_F(SplitBook, FailedPieceDoesNotStopTheOthers) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  std::filesystem::create_directory(testing::NativePath(folder_ / "novel2.txt"));
  const SplitOutcome outcome = Split(book, "3");
  EXPECT_EQ(outcome.status, SplitStatus::kDone);
  EXPECT_EQ(outcome.pieces_written, 2);
  EXPECT_EQ(outcome.pieces_failed, 1);
  ASSERT_EQ(heard_.size(), 3u);
  EXPECT_FALSE(heard_[1].written);
  EXPECT_NE(heard_[1].code, 0u);
  EXPECT_EQ(ReadWhole(folder_ / "novel3.txt"), "\r\ncccc");
}

TEST_F(SplitBook, PieceSplitEarlierAsABookIsReplacedLater) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  EXPECT_EQ(Split(book, "2").pieces_written, 2);
  EXPECT_EQ(Split(folder_ / "novel1.txt", "1").pieces_written, 1);
  WriteWhole(book, "zzzz\r\nyyyy");
  const SplitOutcome outcome = Split(book, "2");
  EXPECT_EQ(outcome.pieces_failed, 0);
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "zzzz");
}

TEST_F(SplitBook, ReadOnlyBookSplits) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook);
  testing::MakeReadOnly(book, true);
  EXPECT_EQ(Split(book, "2").pieces_written, 2);
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "aaaa\r\nbbbb");
  testing::MakeReadOnly(book, false);
}

// A stop byte ends the text wherever it lies, so the pieces are those of the
// text before it: the same as if the file ended there.
TEST_F(SplitBook, TextEndsAtTheStopByte) {
  using namespace std::string_literals;
  const struct {
    std::string bytes;
    const char* count;
    std::vector<ByteText> pieces;
  } cases[] = {
      // Cut as if the file were the text, the first piece would run past
      // "bbbb", and the second would hold the 0x1A.
      {kBook + "\x1A" + "dddd\r\neeee\r\nffff", "3", {"aaaa", "\r\nbbbb", "\r\ncccc"}},
      // Only the last piece gives it away.
      {kBook + "\0z"s, "2", {"aaaa\r\nbbbb", "\r\ncccc"}},
      // A file that ends in its stop byte, as old DOS files end in Ctrl-Z,
      // and files where an earlier one stops the text first.
      {kBook + "\0"s, "2", {"aaaa\r\nbbbb", "\r\ncccc"}},
      {kBook + "\x1A", "3", {"aaaa", "\r\nbbbb", "\r\ncccc"}},
      {"aaaa\r\nbbbb\r\ncc\xB0\0"s, "2", {"aaaa\r\nbbbb", "\r\ncc"}},
      {kBook + "\x1A\x1A", "3", {"aaaa", "\r\nbbbb", "\r\ncccc"}},
      {"aaaa\r\n\0bbbb\r\ncccc\x1A"s, "2", {"aaaa", "\r\n"}},
      // A lead byte then NUL: the half character goes too.
      {"aaaa\r\nbbbb\r\ncc\xB0\0dd"s, "2", {"aaaa\r\nbbbb", "\r\ncc"}},
      // A 0x1A that is the second byte of a character stops nothing.
      {"aaaa\r\n\xB0\x1A"
       "bb\r\ncccc",
       "2",
       {"aaaa\r\n\xB0\x1A"
        "bb",
        "\r\ncccc"}},
      {"\0aaaa\r\nbbbb"s, "2", {"", ""}},
  };
  for (const auto& c : cases) {
    const ByteText book = folder_ / "novel.txt";
    WriteWhole(book, c.bytes);
    const SplitOutcome outcome = Split(book, c.count);
    EXPECT_EQ(outcome.pieces_written, static_cast<std::int64_t>(c.pieces.size()));
    EXPECT_EQ(outcome.pieces_failed, 0);
    ASSERT_EQ(heard_.size(), c.pieces.size()) << ::testing::PrintToString(c.bytes);
    for (std::size_t i = 0; i < c.pieces.size(); ++i) {
      const ByteText name = JoinTexts({"novel", FormatInteger(i + 1), ".txt"});
      EXPECT_EQ(ReadWhole(folder_ / name), c.pieces[i]) << ::testing::PrintToString(c.bytes);
      // Each piece is heard of once, with the bytes it holds.
      EXPECT_EQ(heard_[i].name, folder_ / name);
      EXPECT_TRUE(heard_[i].written);
      EXPECT_EQ(heard_[i].bytes, c.pieces[i]);
    }
    std::vector<ByteText> names = {"novel.txt"};
    for (std::size_t i = 1; i <= c.pieces.size(); ++i) {
      names.push_back(JoinTexts({"novel", FormatInteger(i), ".txt"}));
    }
    EXPECT_EQ(folder_.Names(), names);  // no temporary file left
    std::filesystem::remove_all(testing::NativePath(folder_.path()));
    std::filesystem::create_directory(testing::NativePath(folder_.path()));
  }
}

// The piece that holds the stop byte fails, so it is never seen whole; the
// stop byte is still found.
TEST_F(SplitBook, StopByteInAPieceThatFails) {
  const ByteText book = folder_ / "novel.txt";
  WriteWhole(book, kBook + "\x1A" + "dddd\r\neeee\r\nffff");
  std::filesystem::create_directory(testing::NativePath(folder_ / "novel2.txt"));
  const SplitOutcome outcome = Split(book, "3");
  EXPECT_EQ(outcome.pieces_written, 2);
  EXPECT_EQ(outcome.pieces_failed, 1);
  ASSERT_EQ(heard_.size(), 3u);
  EXPECT_FALSE(heard_[1].written);
  EXPECT_EQ(heard_[1].bytes, "\r\nbbbb");
  EXPECT_EQ(ReadWhole(folder_ / "novel1.txt"), "aaaa");
  EXPECT_EQ(ReadWhole(folder_ / "novel3.txt"), "\r\ncccc");
}

// Pieces are written, and looked at, a megabyte at a time: a stop byte deep
// in a large piece ends the text all the same.
TEST_F(SplitBook, StopBytePastTheFirstMegabyteOfAPiece) {
  ByteText lines;
  while (lines.size() < 3 * kWritePart) lines += ByteText(62, 'x') + "\r\n";
  const std::size_t stop = 2 * kWritePart + kWritePart / 2 + 10;
  for (const char stop_byte : {'\0', '\x1A'}) {
    ByteText bytes = lines;
    bytes[stop] = stop_byte;
    const ByteText book = folder_ / "big.txt";
    WriteWhole(book, bytes);
    EXPECT_EQ(Split(book, "2").pieces_written, 2);
    std::vector<ByteText> expected;
    CutPieces(book, ByteView(lines).substr(0, stop), "2", "\r\n",
              [&](const PieceFile& piece) { expected.emplace_back(piece.bytes); });
    ASSERT_EQ(expected.size(), 2u);
    EXPECT_EQ(ReadWhole(folder_ / "big1.txt"), expected[0]);
    EXPECT_EQ(ReadWhole(folder_ / "big2.txt"), expected[1]);
    EXPECT_EQ(expected[0].size() + expected[1].size(), stop);
  }
}

}  // namespace
}  // namespace veskra
