// Reaching outside the computation: open and read the book, write a piece,
// show a message, open a folder. Failures are values, never exceptions.
// Back ends: file_access_win.cpp (Win32 W functions, GBK paths converted
// with code page 936) and file_access_posix.cpp (byte paths as they are).
#pragma once

#include <cstddef>
#include <cstdint>
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

// A book's text as a split needs it: the same bytes as ReadTextFromFile
// gives, but mapped from the file where the platform allows, so a large book
// is neither copied nor held twice. The view stays valid as long as this
// object, even after the file is closed. (A mapped book that another program
// truncates meanwhile cannot be read safely; the split reads it at once.)
class BookBytes {
 public:
  BookBytes() = default;
  explicit BookBytes(ByteText text) : owned_(std::move(text)), text_(owned_) {}
  BookBytes(const void* mapping, std::size_t mapping_size, ByteView text)
      : mapping_(mapping), mapping_size_(mapping_size), text_(text) {}
  BookBytes(const BookBytes&) = delete;
  BookBytes& operator=(const BookBytes&) = delete;
  BookBytes(BookBytes&& other) noexcept { *this = std::move(other); }
  BookBytes& operator=(BookBytes&& other) noexcept;
  ~BookBytes();

  ByteView text() const { return text_; }

 private:
  ByteText owned_;
  const void* mapping_ = nullptr;
  std::size_t mapping_size_ = 0;
  ByteView text_;
};

// ReadTextFromFile's text, position and failures, as BookBytes.
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
