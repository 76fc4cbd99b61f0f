// File access on Windows: byte-text paths are GBK, converted with code page
// 936 and handed to the W functions.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>

#include "platform/gbk.h"
#include "split/file_access.h"
#include "split/open_file_table.h"
#include "split/stop_byte.h"

namespace veskra {

namespace {

// Owns one file handle.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
    }
    return *this;
  }
  ~UniqueHandle() { Close(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and says whether the system accepted it.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    return ::CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0;
  }

 private:
  HANDLE handle_;
};

OpenFileTable<UniqueHandle>& Table() {
  static OpenFileTable<UniqueHandle> table;
  return table;
}

ByteText ReadableReason(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason = length != 0 && text ? std::wstring(text, length) : std::wstring();
  if (text) ::LocalFree(text);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' ||
                             reason.back() == L' ' || reason.back() == L'.')) {
    reason.pop_back();
  }
  if (reason.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "error %lu", static_cast<unsigned long>(code));
    return fallback;
  }
  return GbkFromWide(reason);
}

bool Fail(SystemError* why, DWORD code) {
  if (code == 0) code = ERROR_GEN_FAILURE;
  if (why) {
    why->code = code;
    why->message = ReadableReason(code);
  }
  return false;
}

void Clear(SystemError* why) {
  if (why) *why = {};
}

// One ReadFile moves at most 4 GiB less one byte; larger books take several.
constexpr DWORD kMostPerRequest = 1u << 30;

bool ReadFully(HANDLE file, char* into, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(size - done, kMostPerRequest));
    DWORD got = 0;
    if (!::ReadFile(file, into + done, ask, &got, nullptr)) return false;
    if (got == 0) {
      ::SetLastError(ERROR_HANDLE_EOF);
      return false;
    }
    done += got;
  }
  return true;
}

// A write that reports success with fewer bytes than asked (a full disk) is a
// failure all the same.
bool WriteFully(HANDLE file, ByteSetView data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, kMostPerRequest));
    DWORD put = 0;
    if (!::WriteFile(file, data.data() + done, ask, &put, nullptr)) return false;
    if (put != ask) {
      ::SetLastError(ERROR_DISK_FULL);
      return false;
    }
    done += put;
  }
  return true;
}

// The size bytes from the file's position into a buffer of their own. A
// failure leaves the position at the end and gives the reason.
ByteText ReadRest(HANDLE file, std::size_t size, SystemError* why) {
  ByteText bytes;
  bytes.resize(size);
  if (!ReadFully(file, bytes.data(), bytes.size())) {
    const DWORD code = ::GetLastError();
    ::SetFilePointerEx(file, LARGE_INTEGER{}, nullptr, FILE_END);
    return Fail(why, code), ByteText();
  }
  return bytes;
}

// The bytes from the position to the end, or nothing: whether the file is
// empty there, or failed (with the reason in *why).
ByteText ReadFromPosition(FileNumber number, SystemError* why) {
  Clear(why);
  const UniqueHandle* open = Table().Find(number);
  if (open == nullptr) return Fail(why, ERROR_INVALID_HANDLE), ByteText();
  LARGE_INTEGER length{};
  LARGE_INTEGER position{};
  if (!::GetFileSizeEx(open->get(), &length) ||
      !::SetFilePointerEx(open->get(), LARGE_INTEGER{}, &position, FILE_CURRENT)) {
    return Fail(why, ::GetLastError()), ByteText();
  }
  if (length.QuadPart <= position.QuadPart) return ByteText();
  return ReadRest(open->get(), static_cast<std::size_t>(length.QuadPart - position.QuadPart), why);
}

std::wstring TemporaryNameBeside(const std::wstring& path) {
  static std::atomic<unsigned> serial{0};
  wchar_t suffix[48];
  std::swprintf(suffix, sizeof suffix / sizeof suffix[0], L".%lu-%u.tmp",
                static_cast<unsigned long>(::GetCurrentProcessId()), ++serial);
  return path + suffix;
}

// Creates or replaces the file at path, all or nothing: write() puts the
// bytes into a new temporary file beside it (false, with the last error set,
// when it cannot), which is then moved over the name.
bool ReplaceFile(ByteView path, SystemError* why, const std::function<bool(HANDLE)>& write) {
  Clear(why);
  if (path.empty()) return Fail(why, ERROR_PATH_NOT_FOUND);
  const std::wstring name = WideFromGbk(path);
  const std::wstring temporary = TemporaryNameBeside(name);
  UniqueHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Fail(why, ::GetLastError());
  DWORD code = ERROR_SUCCESS;
  if (!write(file.get()) || !file.Close() ||
      !::MoveFileExW(temporary.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    code = ::GetLastError();
  }
  if (code == ERROR_SUCCESS) return true;
  file.Close();
  ::DeleteFileW(temporary.c_str());
  return Fail(why, code);
}

}  // namespace

FileNumber OpenExistingFile(ByteView path, SystemError* why) {
  Clear(why);
  if (path.empty()) return Fail(why, ERROR_PATH_NOT_FOUND), 0;
  // Without FILE_FLAG_BACKUP_SEMANTICS a folder fails to open, as it should.
  UniqueHandle file(::CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Fail(why, ::GetLastError()), 0;
  return Table().Add(std::move(file));
}

ByteText ReadTextFromFile(FileNumber number, SystemError* why) {
  SystemError failure;
  // The text is read straight into its own buffer and cut short in place at
  // the stop byte, so the book is held once.
  ByteText text = ReadFromPosition(number, &failure);
  if (failure.code != 0) {
    if (why) *why = std::move(failure);
    return text;
  }
  Clear(why);
  const TextEnd end = FindTextEnd(text);
  if (end.stop_byte < text.size()) {
    // Step back from the end the read left the position at to the stop byte.
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(text.size() - end.stop_byte);
    ::SetFilePointerEx(Table().Find(number)->get(), back, nullptr, FILE_CURRENT);
  }
  text.resize(end.text_length);
  return text;
}

// Books are read into memory here; nothing is ever mapped, and pieces are
// written straight from the book's bytes.
BookBytes& BookBytes::operator=(BookBytes&& other) noexcept {
  if (this != &other) {
    owned_ = std::move(other.owned_);
    bytes_ = ByteView(owned_);
    other.bytes_ = ByteView();
  }
  return *this;
}

BookBytes::~BookBytes() = default;

BookBytes ReadBookBytes(FileNumber number, SystemError* why) {
  return BookBytes(ReadFromPosition(number, why));
}

bool CloseFile(FileNumber number) { return Table().Close(number); }

void CloseAllFiles() { Table().CloseAll(); }

bool WriteBytesToFile(ByteView path, ByteSetView data, SystemError* why) {
  return ReplaceFile(path, why, [&](HANDLE file) { return WriteFully(file, data); });
}

bool BookBytes::WritePiece(ByteView path, ByteView piece, SystemError* why,
                           const PartCheck& check) {
  return ReplaceFile(path, why, [&](HANDLE file) {
    for (std::size_t done = 0; done < piece.size(); done += kWritePart) {
      const ByteView part = piece.substr(done, kWritePart);
      if (check && !check(part)) {
        ::SetLastError(ERROR_CANCELLED);
        return false;
      }
      if (!WriteFully(file, part)) return false;
    }
    return true;
  });
}

void ShowMessageBox(ByteView text, ByteView title) {
  ::MessageBoxW(nullptr, WideFromGbk(text).c_str(), WideFromGbk(title).c_str(),
                MB_OK | MB_TASKMODAL);
}

void OpenInShell(ByteView path) {
  ::ShellExecuteW(nullptr, L"open", WideFromGbk(path).c_str(), nullptr, L"", SW_SHOWNORMAL);
}

}  // namespace veskra
