// File access on Linux and other POSIX systems: a byte-text path is handed
// to the file system as it is.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <utility>

#include "split/file_access.h"
#include "split/open_file_table.h"
#include "split/stop_byte.h"

namespace veskra {

namespace {

// Owns one file descriptor.
class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~UniqueFd() { Close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  // Closes now and says whether the system accepted it.
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(std::exchange(fd_, -1));
    return result == 0;
  }

 private:
  int fd_;
};

OpenFileTable<UniqueFd>& Table() {
  static OpenFileTable<UniqueFd> table;
  return table;
}

bool Fail(SystemError* why, int code) {
  if (why) {
    why->code = static_cast<std::uint32_t>(code);
    why->message = std::strerror(code);
  }
  return false;
}

void Clear(SystemError* why) {
  if (why) *why = {};
}

// Requests move at most this much: the kernel copes better with many
// moderate requests than with one huge one.
constexpr std::size_t kChunk = std::size_t{1} << 20;

// Reads exactly size bytes (a read may deliver less than asked, and a single
// read never delivers more than about 2 GiB). Yields the count read; errno
// holds the reason when it falls short by an error.
std::size_t ReadFully(int fd, char* into, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, into + done, std::min(size - done, kChunk));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

// Reads exactly size bytes at offset. A file that ends first (one that has
// shrunk since it was measured) fails with EIO.
bool ReadFullyAt(int fd, char* into, std::size_t size, off_t offset) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, into + done, size - done, offset + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return (errno = EIO), false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

bool WriteFully(int fd, ByteSetView data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t put = ::write(fd, data.data() + done, std::min(data.size() - done, kChunk));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = ENOSPC;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// The size bytes from the file's position into a buffer of their own. A
// failure leaves the position at the end and gives the reason.
ByteText ReadRest(int fd, std::size_t size, SystemError* why) {
  ByteText bytes;
  bytes.resize(size);
  errno = 0;
  if (ReadFully(fd, bytes.data(), bytes.size()) < bytes.size()) {
    const int code = errno != 0 ? errno : EIO;
    ::lseek(fd, 0, SEEK_END);
    return Fail(why, code), ByteText();
  }
  return bytes;
}

ByteText TemporaryNameBeside(ByteView path) {
  static std::atomic<unsigned> serial{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%ld-%u.tmp", static_cast<long>(::getpid()), ++serial);
  return JoinTexts({path, suffix});
}

// Creates or replaces the file at path, all or nothing: write() puts the
// bytes into a new temporary file beside it (false, with errno set, when it
// cannot), which is then moved over the name.
bool ReplaceFile(ByteView path, SystemError* why, const std::function<bool(int fd)>& write) {
  Clear(why);
  if (path.empty()) return Fail(why, ENOENT);
  const ByteText name(path);
  // rename() would replace a file that may not be written, or a folder that
  // is empty; neither is a piece to replace.
  struct stat existing {};
  if (::stat(name.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return Fail(why, EISDIR);
    if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) return Fail(why, errno);
  }

  const ByteText temporary = TemporaryNameBeside(path);
  UniqueFd fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
  if (!fd.valid()) return Fail(why, errno);
  errno = 0;
  const bool written = write(fd.get());
  int code = errno;
  const bool closed = written && fd.Close();
  if (written && !closed) code = errno;
  if (closed && ::rename(temporary.c_str(), name.c_str()) == 0) return true;
  if (closed) code = errno;
  fd.Close();
  ::unlink(temporary.c_str());
  return Fail(why, code != 0 ? code : EIO);
}

// Where an open file's next read begins: its descriptor, its position, and
// how many bytes lie from there to its end.
struct ReadPlace {
  int fd = -1;
  off_t position = 0;
  std::size_t rest = 0;
};

// False, with the reason, when the number names no open file or the file
// cannot be measured.
bool FindReadPlace(FileNumber number, ReadPlace& place, SystemError* why) {
  Clear(why);
  const UniqueFd* open = Table().Find(number);
  if (open == nullptr) return Fail(why, EBADF);
  place.fd = open->get();
  struct stat info {};
  place.position = ::lseek(place.fd, 0, SEEK_CUR);
  if (place.position < 0 || ::fstat(place.fd, &info) != 0) return Fail(why, errno);
  place.rest =
      info.st_size > place.position ? static_cast<std::size_t>(info.st_size - place.position) : 0;
  return true;
}

}  // namespace

FileNumber OpenExistingFile(ByteView path, SystemError* why) {
  Clear(why);
  if (path.empty()) return Fail(why, ENOENT), 0;
  const ByteText name(path);
  UniqueFd fd(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return Fail(why, errno), 0;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Fail(why, errno), 0;
  if (S_ISDIR(info.st_mode)) return Fail(why, EISDIR), 0;
  return Table().Add(std::move(fd));
}

ByteText ReadTextFromFile(FileNumber number, SystemError* why) {
  ReadPlace place;
  if (!FindReadPlace(number, place, why)) return ByteText();
  // The text is read straight into its own buffer and cut short in place at
  // the stop byte, so the book is held once. A failed read gives no text.
  ByteText text = ReadRest(place.fd, place.rest, why);
  const TextEnd end = FindTextEnd(text);
  if (end.stop_byte < text.size()) {
    ::lseek(place.fd, place.position + static_cast<off_t>(end.stop_byte), SEEK_SET);
  }
  text.resize(end.text_length);
  return text;
}

BookBytes& BookBytes::operator=(BookBytes&& other) noexcept {
  if (this != &other) {
    if (mapping_) ::munmap(const_cast<void*>(mapping_), mapping_size_);
    if (file_ >= 0) ::close(file_);
    const bool owned = other.mapping_ == nullptr;
    owned_ = std::move(other.owned_);
    file_ = std::exchange(other.file_, -1);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapping_size_ = std::exchange(other.mapping_size_, 0);
    bytes_ = owned ? ByteView(owned_) : other.bytes_;
    other.bytes_ = ByteView();
    part_ = std::move(other.part_);
  }
  return *this;
}

BookBytes::~BookBytes() {
  if (mapping_) ::munmap(const_cast<void*>(mapping_), mapping_size_);
  if (file_ >= 0) ::close(file_);
}

BookBytes ReadBookBytes(FileNumber number, SystemError* why) {
  ReadPlace place;
  if (!FindReadPlace(number, place, why) || place.rest == 0) return BookBytes();
  const auto size = static_cast<std::size_t>(place.position) + place.rest;
  // The mapping is not populated: the cuts look only at the pages around
  // them, and the pieces are read through a descriptor of the book's own.
  UniqueFd own(::fcntl(place.fd, F_DUPFD_CLOEXEC, 0));
  void* mapping =
      own.valid() ? ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, place.fd, 0) : MAP_FAILED;
  if (mapping == MAP_FAILED) return BookBytes(ReadRest(place.fd, place.rest, why));
  ::lseek(place.fd, 0, SEEK_END);
  return BookBytes(own.Release(), mapping, size,
                   ByteView(static_cast<const char*>(mapping) + place.position, place.rest));
}

bool CloseFile(FileNumber number) { return Table().Close(number); }

void CloseAllFiles() { Table().CloseAll(); }

bool WriteBytesToFile(ByteView path, ByteSetView data, SystemError* why) {
  return ReplaceFile(path, why, [&](int fd) { return WriteFully(fd, data); });
}

bool BookBytes::WritePiece(ByteView path, ByteView piece, SystemError* why,
                           const PartCheck& check) {
  if (file_ >= 0 && part_.empty()) part_.resize(std::min(kWritePart, bytes_.size()));
  return ReplaceFile(path, why, [&](int fd) {
    for (std::size_t done = 0; done < piece.size(); done += kWritePart) {
      ByteView part = piece.substr(done, kWritePart);
      if (file_ >= 0) {
        const auto offset = static_cast<off_t>(part.data() - static_cast<const char*>(mapping_));
        if (!ReadFullyAt(file_, part_.data(), part.size(), offset)) return false;
        part = ByteView(part_.data(), part.size());
      }
      if (check && !check(part)) return (errno = ECANCELED), false;
      if (!WriteFully(fd, part)) return false;
    }
    return true;
  });
}

void ShowMessageBox(ByteView text, ByteView title) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
}

void OpenInShell(ByteView path) {
  // Hand the folder to the desktop's opener in a grandchild, so that nothing
  // waits for it and no zombie is left; without one, nothing happens.
  const ByteText target(path);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::fork() == 0) {
      const int null_fd = ::open("/dev/null", O_RDWR);
      if (null_fd >= 0) {
        ::dup2(null_fd, STDIN_FILENO);
        ::dup2(null_fd, STDOUT_FILENO);
        ::dup2(null_fd, STDERR_FILENO);
      }
      ::execlp("xdg-open", "xdg-open", target.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::_exit(0);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
}

}  // namespace veskra
