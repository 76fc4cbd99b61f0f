#include "split/file_access.h"

#include <gtest/gtest.h>

#include <string>

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
#else
constexpr std::uint32_t kFileNotFound = 2;  // ENOENT
constexpr std::uint32_t kPathNotFound = 2;  // ENOENT
constexpr std::uint32_t kIsFolder = 21;     // EISDIR
constexpr std::uint32_t kBadNumber = 9;     // EBADF
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

    // The bytes a split maps give the same text, and stay after the close.
    const FileNumber again = OpenExistingFile(book);
    BookBytes mapped = ReadBookBytes(again, &why);
    EXPECT_EQ(why.code, 0u);
    EXPECT_EQ(ReadTextFromFile(again), "");  // left on the stop byte, or at the end
    EXPECT_TRUE(CloseFile(again));
    const BookBytes moved = std::move(mapped);
    EXPECT_EQ(moved.text(), c.text) << ::testing::PrintToString(c.bytes);
  }
}

TEST_F(FileAccess, BookBytesOfEmptyAndClosedBooks) {
  const ByteText book = folder_ / "empty.txt";
  WriteWhole(book, "");
  SystemError why;
  const FileNumber number = OpenExistingFile(book);
  EXPECT_EQ(ReadBookBytes(number, &why).text(), "");
  EXPECT_EQ(why.code, 0u);
  EXPECT_TRUE(CloseFile(number));
  EXPECT_EQ(ReadBookBytes(number, &why).text(), "");
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

TEST_F(FileAccess, WriteToAnEmptyPathFails) {
  SystemError why;
  EXPECT_FALSE(WriteBytesToFile("", "bytes", &why));
  EXPECT_NE(why.code, 0u);
}

}  // namespace
}  // namespace veskra
