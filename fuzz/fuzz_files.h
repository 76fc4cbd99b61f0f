// A scratch folder of its own for a fuzz target that reaches real files, and
// plain POSIX ways to put bytes in and look at what is there.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace veskra::fuzz_files {

inline void WriteRaw(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  if (write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
  close(fd);
}

inline std::string ReadRaw(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) std::abort();
  std::string bytes;
  char chunk[4096];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) bytes.append(chunk, n);
  close(fd);
  return bytes;
}

// The names in a folder, in no particular order.
inline std::vector<std::string> NamesIn(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) std::abort();
  std::vector<std::string> names;
  while (dirent* e = readdir(dir)) {
    if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..") {
      names.emplace_back(e->d_name);
    }
  }
  closedir(dir);
  return names;
}

// A new folder under TMPDIR (or /tmp), named for the target, emptied and
// removed when the target exits.
class Folder {
 public:
  explicit Folder(const char* target) {
    const char* tmp = std::getenv("TMPDIR");
    path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/veskra-" + target + "-fuzz.XXXXXX";
    if (mkdtemp(path_.data()) == nullptr) std::abort();
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  ~Folder() {
    Empty();
    rmdir(path_.c_str());
  }

  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }
  const std::string& path() const { return path_; }

  // Removes every file and folder in it (the folders being empty).
  void Empty() const {
    for (const std::string& name : NamesIn(path_)) {
      const std::string entry = *this / name;
      if (unlink(entry.c_str()) != 0 && rmdir(entry.c_str()) != 0) std::abort();
    }
  }

 private:
  std::string path_;
};

}  // namespace veskra::fuzz_files
