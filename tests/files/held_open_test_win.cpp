// A piece held open by another Windows process cannot be replaced: the write
// fails, the old content stays, and no temporary file is left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/gbk.h"
#include "scratch.h"
#include "split/file_access.h"

namespace veskra {
namespace {

using testing::ScratchFolder;

std::wstring HelperPath() {
  wchar_t own[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, own, MAX_PATH);
  std::wstring path(own, length);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + L"files_hold_open.exe";
}

// Runs the helper on the file and waits until it holds it.
class HeldOpen {
 public:
  HeldOpen(const ScratchFolder& folder, ByteView file)
      : ready_(WideFromGbk(folder / "ready")), release_(WideFromGbk(folder / "release")) {
    std::wstring command = L"\"" + HelperPath() + L"\" \"" + WideFromGbk(file) + L"\" \"" + ready_ +
                           L"\" \"" + release_ + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_)) {
      return;
    }
    for (int waited = 0; waited < 1000; ++waited) {
      if (::GetFileAttributesW(ready_.c_str()) != INVALID_FILE_ATTRIBUTES) {
        holding_ = true;
        break;
      }
      if (::WaitForSingleObject(process_.hProcess, 10) == WAIT_OBJECT_0) break;
    }
  }
  HeldOpen(const HeldOpen&) = delete;
  HeldOpen& operator=(const HeldOpen&) = delete;
  ~HeldOpen() { Release(); }

  bool holding() const { return holding_; }

  // Lets the helper close the file and end; yields its exit code.
  DWORD Release() {
    if (process_.hProcess == nullptr) return 99;
    const HANDLE release = ::CreateFileW(release_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (release != INVALID_HANDLE_VALUE) ::CloseHandle(release);
    ::WaitForSingleObject(process_.hProcess, 20000);
    DWORD code = 98;
    ::GetExitCodeProcess(process_.hProcess, &code);
    ::CloseHandle(process_.hProcess);
    ::CloseHandle(process_.hThread);
    process_ = {};
    ::DeleteFileW(ready_.c_str());
    ::DeleteFileW(release_.c_str());
    return code;
  }

 private:
  std::wstring ready_;
  std::wstring release_;
  PROCESS_INFORMATION process_{};
  bool holding_ = false;
};

TEST(HeldOpen, PieceHeldByAnotherProcessKeepsItsContent) {
  ScratchFolder folder;
  const ByteText piece = folder /
                         "\xCA\xE9"
                         "1.txt";  // 书1.txt
  testing::WriteWhole(piece, "old content\r\n");
  {
    HeldOpen holder(folder, piece);
    ASSERT_TRUE(holder.holding());
    SystemError why;
    EXPECT_FALSE(WriteBytesToFile(piece, "new", &why));
    EXPECT_NE(why.code, 0u);
    EXPECT_FALSE(why.message.empty());
    EXPECT_EQ(folder.Names(), (std::vector<ByteText>{"ready",
                                                     "\xCA\xE9"
                                                     "1.txt"}));
    EXPECT_EQ(holder.Release(), 0u);
  }
  EXPECT_EQ(testing::ReadWhole(piece), "old content\r\n");
  EXPECT_EQ(folder.Names(), std::vector<ByteText>{"\xCA\xE9"
                                                  "1.txt"});
  // Once released, the piece is replaced.
  EXPECT_TRUE(WriteBytesToFile(piece, "new"));
  EXPECT_EQ(testing::ReadWhole(piece), "new");
}

TEST(HeldOpen, BookSharedForReadingAndWritingOpens) {
  ScratchFolder folder;
  const ByteText book = folder / "book.txt";
  testing::WriteWhole(book, "text");
  const HANDLE other = ::CreateFileW(WideFromGbk(book).c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  const FileNumber number = OpenExistingFile(book);
  EXPECT_NE(number, 0);
  EXPECT_EQ(ReadTextFromFile(number), "text");
  EXPECT_TRUE(CloseFile(number));
  ::CloseHandle(other);
}

}  // namespace
}  // namespace veskra
