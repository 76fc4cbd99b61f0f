// Reading a book from a real file and writing it back as a piece: the text
// read is the file's bytes up to the stop byte, and a piece written from it
// holds exactly those bytes, with no temporary file left beside it.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "reference_walk.h"
#include "split/file_access.h"

namespace {

std::string MakeFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/veskra-read-fuzz.XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

const std::string& Folder() {
  static const std::string folder = MakeFolder();
  return folder;
}

void RemoveFolder() {
  unlink((Folder() + "/book.txt").c_str());
  unlink((Folder() + "/book1.txt").c_str());
  rmdir(Folder().c_str());
}

void WriteRaw(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  close(fd);
}

std::string ReadRaw(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) std::abort();
  std::string bytes;
  char chunk[4096];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
  close(fd);
  return bytes;
}

int EntriesIn(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) std::abort();
  int entries = 0;
  while (dirent* e = readdir(dir)) {
    if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") ++entries;
  }
  closedir(dir);
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Folder();
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string book = Folder() + "/book.txt";
  const std::string piece = Folder() + "/book1.txt";
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
  if (EntriesIn(Folder()) != 2) std::abort();
  return 0;
}
