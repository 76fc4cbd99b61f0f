#include "split/file_access.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "scratch.h"

namespace veskra {
namespace {

using namespace std::string_literals;
using testing::ReadWhole;
using testing::ScratchFolder;
using testing::WriteWhole;

#ifdef _WIN32
constexpr std::uint32_t kFileNotFound = 2;  // ERROR_FILE_NOT_FOUND
constexpr std::uint32_t kPathNotFound = 3;  // ERROR_PATH_NOT_FOUND
constexpr std::uint32_t kIsFolder = 5;      // ERROR_ACCESS_DENIED
constexpr std::uint32_t kBadNumber = 6;     // ERROR_INVALID_HANDLE
constexpr std::uint32_t kCancelled = 1223;  // ERROR_CANCELLED
#else
constexpr std::uint32_t kFileNotFound = 2;  // ENOENT
constexpr std::uint32_t kPathNotFound = 2;  // ENOENT
constexpr std::uint32_t kIsFolder = 21;     // EISDIR
constexpr std::uint32_t kBadNumber = 9;     // EBADF
constexpr std::uint32_t kCancelled = 125;   // ECANCELED
#endif

// A readable reason: present, and without a line end.
void ExpectReason(const SystemError& why, std::uint32_t code) {
  EXPECT_EQ(why.code, code);
  ASSERT_FALSE(why.message.empty());
  EXPECT_NE(why.message.back(), '\n');
  EXPECT_NE(why.message.back(), '\r');
}

class FileAccess : public ::testing::Test {
 protected:
  void TearDown() override { CloseAllFiles(); }
  ScratchFolder folder_;
};

TEST_F(FileAccess, MissingBookGivesNoNumberAndTheReason) {
  SystemError why;
  EXPECT_EQ(OpenExistingFile(folder_ / "missing.txt", &why), 0);
  ExpectReason(why, kFileNotFound);
#ifndef _WIN32
  EXPECT_EQ(why.message, "No such file or directory");
#endif
  EXPECT_EQ(folder_.Names(), std::vector<ByteText>{});
}

TEST_F(FileAccess, FolderIsNoBook) {
  SystemError why;
  EXPECT_EQ(OpenExistingFile(folder_.path(), &why), 0);
  ExpectReason(why, kIsFolder);
}

TEST_F(FileAccess, EmptyPathOpensNothing) {
  SystemError why;
  EXPECT_EQ(OpenExistingFile("", &why), 0);
  EXPECT_NE(why.code, 0u);
}

TEST_F(FileAccess, ReadOnlyBookIsRead) {
  const ByteText book = folder_ / "book.txt";
  WriteWhole(book, "aaaa\r\nbbbb");
  testing::MakeReadOnly(book, true);
  SystemError why;
  const FileNumber number = OpenExistingFile(book, &why);
  ASSERT_NE(number, 0) << why.message;
  EXPECT_EQ(ReadTextFromFile(number, &why), "aaaa\r\nbbbb");
  EXPECT_EQ(why.code, 0u);
  testing::MakeReadOnly(book, false);
}

TEST_F(FileAccess, TextEndsBeforeTheStopByteAndLeavesThePositionOnIt) {
  const struct {
    std::string bytes;
    std::string text;
  } cases[] = {
      {"ab\r\ncd\0ef"s, "ab\r\ncd"},
      {"ab\x1A"
       "cd"s,
       "ab"},
      {"ab\xB0\0cd"s, "ab"},  // a lead byte then NUL
      {"ab\xB0\x1A"
       "cd"s,
       "ab\xB0\x1A"
       "cd"},  // a lead byte then 0x1A
      {"\xC2\xED\xC0\xEF\r\n"s, "\xC2\xED\xC0\xEF\r\n"},
  };
  for (const auto& c : cases) {
    const ByteText book = folder_ / "book.txt";
    WriteWhole(book, c.bytes);
    const FileNumber number = OpenExistingFile(book);
    ASSERT_NE(number, 0);
    EXPECT_EQ(ReadTextFromFile(number), c.text) << ::testing::PrintToString(c.bytes);
    // A second read starts at the stop byte, which stops it at once; with
    // no stop byte it starts at the end.
    SystemError why;
    EXPECT_EQ(ReadTextFromFile(number, &why), "");
    EXPECT_EQ(why.code, 0u);
    EXPECT_TRUE(CloseFile(number));

    // The bytes a split maps are the whole file, stop bytes and all, and
    // stay after the close; the file is left at its end.
    const FileNumber again = OpenExistingFile(book);
    BookBytes mapped = ReadBookBytes(again, &why);
    EXPECT_EQ(why.code, 0u);
    EXPECT_EQ(ReadTextFromFile(again), "");
    EXPECT_TRUE(CloseFile(again));
    const BookBytes moved = std::move(mapped);
    EXPECT_EQ(moved.bytes(), c.bytes) << ::testing::PrintToString(c.bytes);
  }
}

TEST_F(FileAccess, BookBytesOfEmptyAndClosedBooks) {
  const ByteText book = folder_ / "empty.txt";
  WriteWhole(book, "");
  SystemError why;
  const FileNumber number = OpenExistingFile(book);
  EXPECT_EQ(ReadBookBytes(number, &why).bytes(), "");
  EXPECT_EQ(why.code, 0u);
  EXPECT_TRUE(CloseFile(number));
  EXPECT_EQ(ReadBookBytes(number, &why).bytes(), "");
  ExpectReason(why, kBadNumber);
}

TEST_F(FileAccess, EmptyBookIsTheEmptyTextNotAFailure) {
  const ByteText book = folder_ / "empty.txt";
  WriteWhole(book, "");
  SystemError why;
  const FileNumber number = OpenExistingFile(book, &why);
  ASSERT_NE(number, 0);
  why.code = 99;
  EXPECT_EQ(ReadTextFromFile(number, &why), "");
  EXPECT_EQ(why.code, 0u);
  EXPECT_EQ(why.message, "");
}

TEST_F(FileAccess, SameBookReadTwiceGivesTheSameText) {
  const ByteText book = folder_ / "book.txt";
  WriteWhole(book, "\xCC\xC6\xCA\xAB\r\nline two\r\n");
  const FileNumber first = OpenExistingFile(book);
  const FileNumber second = OpenExistingFile(book);
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(ReadTextFromFile(first), "\xCC\xC6\xCA\xAB\r\nline two\r\n");
  EXPECT_EQ(ReadTextFromFile(second), "\xCC\xC6\xCA\xAB\r\nline two\r\n");
}

TEST_F(FileAccess, ClosedNumbersReadNothing) {
  const ByteText book = folder_ / "book.txt";
  WriteWhole(book, "text");
  const FileNumber closed = OpenExistingFile(book);
  const FileNumber left_open = OpenExistingFile(book);
  EXPECT_TRUE(CloseFile(closed));
  EXPECT_FALSE(CloseFile(closed));
  SystemError why;
  EXPECT_EQ(ReadTextFromFile(closed, &why), "");
  ExpectReason(why, kBadNumber);
  EXPECT_EQ(ReadTextFromFile(0, &why), "");
  ExpectReason(why, kBadNumber);
  // A number is never handed out twice.
  const FileNumber reopened = OpenExistingFile(book);
  EXPECT_NE(reopened, closed);
  EXPECT_NE(reopened, left_open);
  CloseAllFiles();
  EXPECT_EQ(ReadTextFromFile(left_open, &why), "");
  ExpectReason(why, kBadNumber);
  EXPECT_EQ(ReadTextFromFile(reopened), "");
}

TEST_F(FileAccess, ClosedBookCanBeReplaced) {
  const ByteText book = folder_ / "book.txt";
  WriteWhole(book, "old");
  const FileNumber number = OpenExistingFile(book);
  EXPECT_EQ(ReadTextFromFile(number), "old");
  EXPECT_TRUE(CloseFile(number));
  EXPECT_TRUE(WriteBytesToFile(book, "new"));
  EXPECT_EQ(ReadWhole(book), "new");
}

TEST_F(FileAccess, WriteReplacesExactly) {
  const struct {
    std::string old_bytes;
    std::string new_bytes;
  } cases[] = {
      {std::string(1000, 'x'), "0123456789"},
      {"existing", ""},
      {"",
       "a\0b\x1A"
       "c"s},
  };
  for (const auto& c : cases) {
    const ByteText piece = folder_ / "piece.txt";
    WriteWhole(piece, c.old_bytes);
    SystemError why;
    EXPECT_TRUE(WriteBytesToFile(piece, c.new_bytes, &why)) << why.message;
    EXPECT_EQ(why.code, 0u);
    EXPECT_EQ(ReadWhole(piece), c.new_bytes);
    EXPECT_EQ(folder_.Names(), std::vector<ByteText>{"piece.txt"});  // no temporary file left
  }
}

TEST_F(FileAccess, WriteCreatesANewFileWithAGbkName) {
  const ByteText piece = folder_ /
                         "\xCA\xE9"
                         "1.txt";  // 书1.txt
  EXPECT_TRUE(WriteBytesToFile(piece, "\xD2\xBB\r\n"));
  EXPECT_EQ(ReadWhole(piece), "\xD2\xBB\r\n");
  EXPECT_EQ(folder_.Names(), std::vector<ByteText>{"\xCA\xE9"
                                                   "1.txt"});
  const FileNumber number = OpenExistingFile(piece);
  ASSERT_NE(number, 0);
  EXPECT_EQ(ReadTextFromFile(number), "\xD2\xBB\r\n");
}

TEST_F(FileAccess, WriteIntoAMissingFolderCreatesNothing) {
  SystemError why;
  EXPECT_FALSE(WriteBytesToFile(folder_ / JoinTexts({"missing", testing::kSeparator, "piece.txt"}),
                                "bytes", &why));
  ExpectReason(why, kPathNotFound);
  EXPECT_EQ(folder_.Names(), std::vector<ByteText>{});
}

TEST_F(FileAccess, WriteOverAFolderFailsAndLeavesIt) {
  const ByteText piece = folder_ / "piece.txt";
  std::filesystem::create_directory(testing::NativePath(piece));
  SystemError why;
  EXPECT_FALSE(WriteBytesToFile(piece, "bytes", &why));
  EXPECT_NE(why.code, 0u);
  EXPECT_FALSE(why.message.empty());
  EXPECT_TRUE(std::filesystem::is_directory(testing::NativePath(piece)));
  EXPECT_EQ(folder_.Names(), std::vector<ByteText>{"piece.txt"});
}

// Two and a half parts of bytes, each byte telling its offset apart.
ByteSet PartsOfBytes() {
  ByteSet bytes(2 * kWritePart + kWritePart / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// The bytes as a split reads them from a book file, its number closed at
// once: the bytes outlive the number.
BookBytes ReadAsBook(ByteView path, ByteSetView bytes) {
  WriteWhole(path, bytes);
  const FileNumber number = OpenExistingFile(path);
  BookBytes book = ReadBookBytes(number);
  EXPECT_TRUE(CloseFile(number));
  return book;
}

TEST_F(FileAccess, BookPieceIsCheckedPartByPartAsItIsWritten) {
  const ByteSet all = PartsOfBytes();
  BookBytes book = ReadAsBook(folder_ / "book.txt", all);
  ASSERT_EQ(book.bytes(), all);
  // A piece from the middle of the book.
  const ByteView piece = book.bytes().substr(7, all.size() - 14);
  const struct {
    int refused_part;  // -1: the check accepts every part
    bool written;
  } cases[] = {{-1, true}, {0, false}, {2, false}};
  for (const auto& c : cases) {
    const ByteText piece_path = folder_ / "piece.txt";
    WriteWhole(piece_path, "old");
    std::vector<std::size_t> seen;  // where each part begins in the piece
    std::size_t next = 0;
    const PartCheck check = [&](ByteView part) {
      EXPECT_EQ(part, piece.substr(next, kWritePart));
      // Each part is looked at once the parts before it are written, and
      // before any of it is.
      std::uintmax_t written = 0;
      for (const auto& entry :
           std::filesystem::directory_iterator(testing::NativePath(folder_.path()))) {
        if (entry.path().filename() != "piece.txt" && entry.path().filename() != "book.txt") {
          written += entry.file_size();
        }
      }
      EXPECT_EQ(written, next);
      seen.push_back(next);
      next += part.size();
      return static_cast<int>(seen.size()) - 1 != c.refused_part;
    };
    SystemError why;
    EXPECT_EQ(book.WritePiece(piece_path, piece, &why, check), c.written) << c.refused_part;
    const std::vector<std::size_t> all_parts = {0, kWritePart, 2 * kWritePart};
    const std::size_t parts_seen = c.written ? 3 : static_cast<std::size_t>(c.refused_part) + 1;
    EXPECT_EQ(seen, std::vector(all_parts.begin(), all_parts.begin() + parts_seen));
    if (c.written) {
      EXPECT_EQ(why.code, 0u);
      EXPECT_EQ(ReadWhole(piece_path), piece);
    } else {
      ExpectReason(why, kCancelled);
      EXPECT_EQ(ReadWhole(piece_path), "old");
    }
    // No temporary file left.
    EXPECT_EQ(folder_.Names(), (std::vector<ByteText>{"book.txt", "piece.txt"}));
  }
}

// A book that another program shortens during a split: where the book is
// mapped, its pieces are read from the file, so the piece past the new end
// fails cleanly; where it is held in memory, the piece is written whole.
TEST_F(FileAccess, BookThatShrinksMeanwhile) {
  const ByteSet all = PartsOfBytes();
  const ByteText book_path = folder_ / "book.txt";
  BookBytes book = ReadAsBook(book_path, all);
  std::filesystem::resize_file(testing::NativePath(book_path), kWritePart);
  const ByteText piece_path = folder_ / "piece.txt";
  WriteWhole(piece_path, "old");
  SystemError why;
  const ByteView past_the_end = book.bytes().substr(kWritePart - 10, 20);
#ifdef _WIN32
  EXPECT_TRUE(book.WritePiece(piece_path, past_the_end, &why));
  EXPECT_EQ(ReadWhole(piece_path), all.substr(kWritePart - 10, 20));
#else
  EXPECT_FALSE(book.WritePiece(piece_path, past_the_end, &why));
  ExpectReason(why, 5);  // EIO
  EXPECT_EQ(ReadWhole(piece_path), "old");
  // What is still there is written as before.
  EXPECT_TRUE(book.WritePiece(piece_path, book.bytes().substr(0, kWritePart), &why));
  EXPECT_EQ(ReadWhole(piece_path), all.substr(0, kWritePart));
#endif
  EXPECT_EQ(folder_.Names(), (std::vector<ByteText>{"book.txt", "piece.txt"}));
}

TEST_F(FileAccess, WriteToAnEmptyPathFails) {
  SystemError why;
  EXPECT_FALSE(WriteBytesToFile("", "bytes", &why));
  EXPECT_NE(why.code, 0u);
}

}  // namespace
}  // namespace veskra
