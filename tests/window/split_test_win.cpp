// The split button, used as a person would: type a path and a count, press
// the button, read the box, look at the files and the folder window.
#include <gtest/gtest.h>

#include <set>

#include "app/control_ids.h"
#include "driver.h"

namespace veskra::driver {
namespace {

// A 16-byte GBK book: "中文" CR LF "书ab" CR LF "故事". Cut in three (piece
// size 5, cuts at the CR LFs of bytes 5 and 11) it gives "中文", CR LF "书ab"
// and CR LF "故事": each cut's CR LF opens the next piece, so the pieces
// joined are the book.
const std::string kBook = Gbk(L"中文") + "\r\n" + Gbk(L"书ab") + "\r\n" + Gbk(L"故事");
const std::string kPiece1 = Gbk(L"中文");
const std::string kPiece2 = "\r\n" + Gbk(L"书ab");
const std::string kPiece3 = "\r\n" + Gbk(L"故事");

const std::wstring kErrorTitle = L"错误！";

// A folder with a Chinese name of its own for each test.
std::wstring FreshFolderName() {
  static int serial = 0;
  return L"分割测试" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
}

std::set<std::wstring> FilesIn(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry{};
  HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(entry.cFileName);
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

std::wstring TempRoot() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  return temp;
}

// Types path and count and presses the split button.
void Split(const Program& program, const std::wstring& path, const std::wstring& count) {
  ASSERT_TRUE(program.SetText(kBookPathBox, path));
  ASSERT_TRUE(program.SetText(kPieceCountBox, count));
  program.Click(kSplitButton);
}

// The folder's name as the file manager shows it in its title.
std::wstring LastFolderName(const std::wstring& folder) {
  std::wstring trimmed = folder.substr(0, folder.size() - 1);
  return trimmed.substr(trimmed.find_last_of(L'\\') + 1);
}

class SplitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CloseFileManagers();
    ASSERT_TRUE(folder_.ok());
    auto started = Program::Start();
    ASSERT_TRUE(started);
    program_.emplace(std::move(*started));
  }
  void TearDown() override { CloseFileManagers(); }

  TempFolder folder_{FreshFolderName()};
  std::optional<Program> program_;
};

TEST_F(SplitTest, EmptyPathShowsTheChooseBookBoxAndWritesNothing) {
  const auto temp_before = FilesIn(TempRoot());
  Split(*program_, L"", L"3");
  auto box = program_->WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  EXPECT_EQ(L"请选择要分割的文件！", box->text);
  EXPECT_FALSE(IsWindowEnabled(program_->window()));
  ASSERT_TRUE(program_->DismissBox(*box));
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ(L"", program_->Text(kBookPathBox));
  EXPECT_EQ(temp_before, FilesIn(TempRoot()));
  Sleep(300);
  EXPECT_FALSE(AnyFileManager());
}

TEST_F(SplitTest, GbkBookInAChineseFolderSplitsIntoThreeAndShowsTheFolder) {
  const std::wstring book = folder_.path() + L"小说.txt";
  ASSERT_TRUE(WriteFileBytes(book, kBook));
  Split(*program_, book, L"3");

  HWND manager = WaitForFileManager(L"");
  ASSERT_NE(nullptr, manager) << "no file-manager window opened";
  wchar_t title[MAX_PATH] = {};
  GetWindowTextW(manager, title, MAX_PATH);
  EXPECT_NE(std::wstring::npos, std::wstring(title).find(LastFolderName(folder_.path())))
      << "file manager titled " << Gbk(title);
  ASSERT_TRUE(program_->WaitIdle());

  EXPECT_EQ(std::optional(kPiece1), ReadFileBytes(folder_.path() + L"小说1.txt"));
  EXPECT_EQ(std::optional(kPiece2), ReadFileBytes(folder_.path() + L"小说2.txt"));
  EXPECT_EQ(std::optional(kPiece3), ReadFileBytes(folder_.path() + L"小说3.txt"));
  EXPECT_EQ((std::set<std::wstring>{L"小说.txt", L"小说1.txt", L"小说2.txt", L"小说3.txt"}),
            FilesIn(folder_.path()));
  EXPECT_EQ(folder_.path(), program_->Text(kBookPathBox));
  EXPECT_FALSE(program_->FindBox());
  EXPECT_EQ(1, CloseFileManagers());

  // Pressing split again works on the folder text: it cannot be read as a
  // book, so a box says so and no file appears.
  const auto temp_before = FilesIn(TempRoot());
  program_->Click(kSplitButton);
  auto box = program_->WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  const std::wstring head = L"无法打开文件：" + folder_.path() + L"\r\n";
  EXPECT_EQ(head, box->text.substr(0, head.size()));
  EXPECT_GT(box->text.size(), head.size()) << "the reason is missing";
  ASSERT_TRUE(program_->DismissBox(*box));
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ(folder_.path(), program_->Text(kBookPathBox));
  EXPECT_EQ((std::set<std::wstring>{L"小说.txt", L"小说1.txt", L"小说2.txt", L"小说3.txt"}),
            FilesIn(folder_.path()));
  EXPECT_EQ(temp_before, FilesIn(TempRoot()));
  Sleep(300);
  EXPECT_FALSE(AnyFileManager());
}

TEST_F(SplitTest, SpaceOnTheFocusedSplitButtonSplits) {
  const std::wstring book = folder_.path() + L"小说.txt";
  ASSERT_TRUE(WriteFileBytes(book, kBook));
  ASSERT_TRUE(program_->SetText(kBookPathBox, book));
  ASSERT_TRUE(program_->SetText(kPieceCountBox, L"3"));
  for (int i = 0; i < 3; ++i) program_->PressKey(VK_TAB);
  ASSERT_EQ(kSplitButton, program_->FocusId());
  program_->PressKey(VK_SPACE);
  ASSERT_NE(nullptr, WaitForFileManager(L""));
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ(std::optional(kPiece3), ReadFileBytes(folder_.path() + L"小说3.txt"));
  EXPECT_EQ(folder_.path(), program_->Text(kBookPathBox));
}

TEST_F(SplitTest, MissingBookShowsWhyAndLeavesExistingPiecesAlone) {
  const std::wstring book = folder_.path() + L"不存在.txt";
  ASSERT_TRUE(WriteFileBytes(folder_.path() + L"不存在1.txt", "old piece"));
  Split(*program_, book, L"3");
  auto box = program_->WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  const std::wstring head = L"无法打开文件：" + book + L"\r\n";
  EXPECT_EQ(head, box->text.substr(0, head.size()));
  EXPECT_GT(box->text.size(), head.size()) << "the reason is missing";
  ASSERT_TRUE(program_->DismissBox(*box));
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ(std::optional<std::string>("old piece"),
            ReadFileBytes(folder_.path() + L"不存在1.txt"));
  EXPECT_EQ((std::set<std::wstring>{L"不存在1.txt"}), FilesIn(folder_.path()));
  EXPECT_EQ(book, program_->Text(kBookPathBox));
  Sleep(300);
  EXPECT_FALSE(AnyFileManager());
}

TEST_F(SplitTest, PieceHeldOpenElsewhereIsNamedAndTheOthersAreWritten) {
  const std::wstring book = folder_.path() + L"小说.txt";
  ASSERT_TRUE(WriteFileBytes(book, kBook));
  const std::wstring held = folder_.path() + L"小说2.txt";
  ASSERT_TRUE(WriteFileBytes(held, "held"));
  // This process holds the piece open and shares nothing.
  HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, holder);
  Split(*program_, book, L"3");
  auto box = program_->WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  const std::wstring head = L"以下分割文件无法写入：\r\n" + held + L"\r\n    ";
  EXPECT_EQ(head, box->text.substr(0, head.size()));
  EXPECT_EQ(std::wstring::npos, box->text.find(L"小说1.txt"));
  EXPECT_EQ(std::wstring::npos, box->text.find(L"小说3.txt"));
  // The others are already written while the box is up.
  EXPECT_EQ(std::optional(kPiece1), ReadFileBytes(folder_.path() + L"小说1.txt"));
  EXPECT_EQ(std::optional(kPiece3), ReadFileBytes(folder_.path() + L"小说3.txt"));
  ASSERT_TRUE(program_->DismissBox(*box));
  CloseHandle(holder);
  EXPECT_EQ(std::optional<std::string>("held"), ReadFileBytes(held));
  ASSERT_NE(nullptr, WaitForFileManager(L"")) << "the folder opens after the box";
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ(folder_.path(), program_->Text(kBookPathBox));
}

TEST_F(SplitTest, ManyUnwritablePiecesAreListedUpToTwentyThenCounted) {
  const std::wstring book = folder_.path() + L"小说.txt";
  ASSERT_TRUE(WriteFileBytes(book, kBook));
  // A folder standing where a piece should go cannot be replaced by it.
  auto piece = [&](int i) { return folder_.path() + L"小说" + std::to_wstring(i) + L".txt"; };
  for (int i = 1; i <= 22; ++i) ASSERT_TRUE(CreateDirectoryW(piece(i).c_str(), nullptr));
  Split(*program_, book, L"26");
  auto box = program_->WaitForBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  const std::wstring head = L"以下分割文件无法写入：\r\n" + piece(1) + L"\r\n    ";
  EXPECT_EQ(head, box->text.substr(0, head.size()));
  EXPECT_NE(std::wstring::npos, box->text.find(piece(20) + L"\r\n"));
  EXPECT_EQ(std::wstring::npos, box->text.find(piece(21)));
  const std::wstring tail = L"以及另外 2 个文件。";
  ASSERT_GE(box->text.size(), tail.size());
  EXPECT_EQ(tail, box->text.substr(box->text.size() - tail.size()));
  ASSERT_TRUE(program_->DismissBox(*box));
  ASSERT_NE(nullptr, WaitForFileManager(L""));
  ASSERT_TRUE(program_->WaitIdle());
  for (int i = 23; i <= 26; ++i) EXPECT_TRUE(FileExists(piece(i))) << i;
  for (int i = 1; i <= 22; ++i) RemoveDirectoryW(piece(i).c_str());
}

TEST_F(SplitTest, HugeCountOnASmallBookIsRefusedAtOnce) {
  const std::wstring book = folder_.path() + L"小说.txt";
  ASSERT_TRUE(WriteFileBytes(book, kBook));
  Split(*program_, book, L"2147483647");
  auto box = program_->WaitForBox(3000);
  ASSERT_TRUE(box);
  EXPECT_EQ(kErrorTitle, box->title);
  EXPECT_EQ(L"分割份数过大：2147483647\r\n份数超过 100000 时，不能超过电子书的字节数。", box->text);
  ASSERT_TRUE(program_->DismissBox(*box));
  ASSERT_TRUE(program_->WaitIdle());
  EXPECT_EQ((std::set<std::wstring>{L"小说.txt"}), FilesIn(folder_.path()));
  EXPECT_EQ(book, program_->Text(kBookPathBox));
  Sleep(300);
  EXPECT_FALSE(AnyFileManager());
}

}  // namespace
}  // namespace veskra::driver
