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

ByteText TemporaryNameBeside(ByteView path) {
  static std::atomic<unsigned> serial{0};
  char suffix[48];
  std::snprintf(suffix, sizeof suffix, ".%ld-%u.tmp", static_cast<long>(::getpid()), ++serial);
  return JoinTexts({path, suffix});
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
  Clear(why);
  const UniqueFd* open = Table().Find(number);
  if (open == nullptr) return Fail(why, EBADF), ByteText();
  const int fd = open->get();

  struct stat info {};
  const off_t position = ::lseek(fd, 0, SEEK_CUR);
  if (position < 0 || ::fstat(fd, &info) != 0) return Fail(why, errno), ByteText();
  if (info.st_size <= position) return ByteText();

  // The text is read straight into its own buffer and cut short in place at
  // the stop byte, so the book is held once.
  ByteText text;
  text.resize(static_cast<std::size_t>(info.st_size - position));
  errno = 0;
  const std::size_t delivered = ReadFully(fd, text.data(), text.size());
  if (delivered < text.size()) {
    const int code = errno != 0 ? errno : EIO;
    ::lseek(fd, 0, SEEK_END);
    return Fail(why, code), ByteText();
  }
  const TextEnd end = FindTextEnd(text);
  if (end.stop_byte < delivered) {
    ::lseek(fd, position + static_cast<off_t>(end.stop_byte), SEEK_SET);
  }
  text.resize(end.text_length);
  return text;
}

BookBytes& BookBytes::operator=(BookBytes&& other) noexcept {
  if (this != &other) {
    if (mapping_) ::munmap(const_cast<void*>(mapping_), mapping_size_);
    const bool owned = other.mapping_ == nullptr;
    owned_ = std::move(other.owned_);
    mapping_ = std::exchange(other.mapping_, nullptr);
    mapping_size_ = std::exchange(other.mapping_size_, 0);
    text_ = owned ? ByteView(owned_) : other.text_;
    other.text_ = ByteView();
  }
  return *this;
}

BookBytes::~BookBytes() {
  if (mapping_) ::munmap(const_cast<void*>(mapping_), mapping_size_);
}

BookBytes ReadBookBytes(FileNumber number, SystemError* why) {
  Clear(why);
  const UniqueFd* open = Table().Find(number);
  if (open == nullptr) return Fail(why, EBADF), BookBytes();
  const int fd = open->get();

  struct stat info {};
  const off_t position = ::lseek(fd, 0, SEEK_CUR);
  if (position < 0 || ::fstat(fd, &info) != 0) return Fail(why, errno), BookBytes();
  if (info.st_size <= position) return BookBytes();
  const auto size = static_cast<std::size_t>(info.st_size);
  // Mapped and populated at once: far cheaper than faulting in a buffer
  // page by page, and the pieces are written straight from the file's pages.
  void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  if (mapping == MAP_FAILED) return BookBytes(ReadTextFromFile(number, why));
  const ByteView rest(static_cast<const char*>(mapping) + position,
                      size - static_cast<std::size_t>(position));
  const TextEnd end = FindTextEnd(rest);
  ::lseek(fd, position + static_cast<off_t>(end.stop_byte), SEEK_SET);
  return BookBytes(mapping, size, rest.substr(0, end.text_length));
}

bool CloseFile(FileNumber number) { return Table().Close(number); }

void CloseAllFiles() { Table().CloseAll(); }

bool WriteBytesToFile(ByteView path, ByteSetView data, SystemError* why) {
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
  const bool written = WriteFully(fd.get(), data);
  int code = errno;
  const bool closed = written && fd.Close();
  if (written && !closed) code = errno;
  if (closed && ::rename(temporary.c_str(), name.c_str()) == 0) return true;
  if (closed) code = errno;
  fd.Close();
  ::unlink(temporary.c_str());
  return Fail(why, code != 0 ? code : EIO);
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
