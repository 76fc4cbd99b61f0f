// Reading a book from a real file and writing it back as a piece: the text
// read is the file's bytes up to the stop byte, and a piece written from it
// holds exactly those bytes, with no temporary file left beside it.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_files.h"
#include "reference_walk.h"
#include "split/file_access.h"

namespace {

using veskra::fuzz_files::ReadRaw;
using veskra::fuzz_files::WriteRaw;

const veskra::fuzz_files::Folder& Folder() {
  static const veskra::fuzz_files::Folder folder("read");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string book = Folder() / "book.txt";
  const std::string piece = Folder() / "book1.txt";
  WriteRaw(book, bytes);

  veskra::SystemError why;
  const veskra::FileNumber number = veskra::OpenExistingFile(book, &why);
  if (number == 0 || why.code != 0) std::abort();
  const veskra::ByteText text = veskra::ReadTextFromFile(number, &why);
  if (why.code != 0) std::abort();
  if (!veskra::CloseFile(number)) std::abort();
  if (text != bytes.substr(0, veskra::reference::StopByte(bytes).text_length)) std::abort();

  if (!veskra::WriteBytesToFile(piece, text, &why) || why.code != 0) std::abort();
  if (ReadRaw(piece) != text) std::abort();
  if (veskra::fuzz_files::NamesIn(Folder().path()).size() != 2) std::abort();
  return 0;
}
