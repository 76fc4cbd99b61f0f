// Reaching outside the computation: open and read the book, write a piece,
// show a message, open a folder. Failures are values, never exceptions.
// Back ends: file_access_win.cpp (Win32 W functions, GBK paths converted
// with code page 936) and file_access_posix.cpp (byte paths as they are).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <utility>

#include "text/byte_text.h"

namespace veskra {

// Names a book opened by OpenExistingFile; 0 names no file.
using FileNumber = std::int32_t;

// Why an operation failed: the system's error code (errno, or Win32's
// GetLastError) and its readable text (GBK byte text, no line end). Every
// operation that takes one clears it first, so a code of 0 afterwards means
// success and a failure always leaves a code other than 0.
struct SystemError {
  std::uint32_t code = 0;
  ByteText message;
};

// Opens an existing file (never a folder) for reading only, sharing reading
// and writing with others, so a read-only book opens like any other. Yields
// 0 on failure, with the reason in *why when given. Numbers are never reused
// within a run.
FileNumber OpenExistingFile(ByteView path, SystemError* why = nullptr);

// The book's text from the file's current position up to its first stop
// byte (a NUL, or a Ctrl-Z that begins a character), read in one pass into
// the text itself; the position is left on the stop byte, or at the end.
// Lengths are 64-bit: books of 2 GiB and more are read. An empty book gives
// the empty text with no error; a failure gives the empty text and the
// reason in *why.
ByteText ReadTextFromFile(FileNumber number, SystemError* why = nullptr);

// Bytes are written in parts of this size.
constexpr std::size_t kWritePart = std::size_t{1} << 20;

// Looks at a part of a piece just before it is written; false abandons the
// write.
using PartCheck = std::function<bool(ByteView part)>;

// A book file's bytes as a split needs them: everything from the file's
// current position to its end, not yet cut short at a stop byte (the split
// watches for one while it writes). Mapped from the file where the platform
// allows, so a large book is neither copied nor held twice: the cuts touch
// only the pages around them, and the pieces are read from the file a part
// at a time as they are written. The view and the pieces stay valid as long
// as this object, even after the book's number is closed.
class BookBytes {
 public:
  BookBytes() = default;
  explicit BookBytes(ByteText bytes) : owned_(std::move(bytes)), bytes_(owned_) {}
  BookBytes(int file, const void* mapping, std::size_t mapping_size, ByteView bytes)
      : file_(file), mapping_(mapping), mapping_size_(mapping_size), bytes_(bytes) {}
  BookBytes(const BookBytes&) = delete;
  BookBytes& operator=(const BookBytes&) = delete;
  BookBytes(BookBytes&& other) noexcept { *this = std::move(other); }
  BookBytes& operator=(BookBytes&& other) noexcept;
  ~BookBytes();

  ByteView bytes() const { return bytes_; }

  // Creates or replaces the file at path with a piece of bytes(), all or
  // nothing, as WriteBytesToFile does. A mapped book's piece is read from
  // the file a part at a time, the way a plain copy reads it: touching a
  // large mapping page by page costs far more. A book that has shrunk since
  // it was mapped fails the write instead of faulting. When a check is
  // given, it sees every part just before that part is written; if it says
  // no, the write is abandoned the same way, with a cancelled operation as
  // the reason.
  bool WritePiece(ByteView path, ByteView piece, SystemError* why = nullptr,
                  const PartCheck& check = nullptr);

 private:
  ByteText owned_;
  int file_ = -1;  // the mapped book's own descriptor
  const void* mapping_ = nullptr;
  std::size_t mapping_size_ = 0;
  ByteView bytes_;
  ByteSet part_;  // where a mapped book's parts are read into
};

// The file's bytes from its current position to its end, which is where the
// position is left. An empty file gives no bytes and no error; a failure
// gives no bytes and the reason in *why.
BookBytes ReadBookBytes(FileNumber number, SystemError* why = nullptr);

// Closes one file and takes it out of the open-file table.
bool CloseFile(FileNumber number);

// Closes every file still open; every number handed out is then invalid.
void CloseAllFiles();

// Creates or replaces the file with exactly these bytes, all or nothing: the
// bytes go to a new temporary file in the same folder, every one of them is
// checked as written, and only then is it moved over the name. On any
// failure the temporary file is removed, an existing file is left exactly as
// it was, and the result is false with the reason in *why.
bool WriteBytesToFile(ByteView path, ByteSetView data, SystemError* why = nullptr);

// A task-modal box with one OK button and no icon.
void ShowMessageBox(ByteView text, ByteView title);

// Shows a folder in the desktop's file manager; reports nothing.
void OpenInShell(ByteView path);

}  // namespace veskra
