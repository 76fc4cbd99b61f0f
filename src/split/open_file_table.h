// The process-wide table of books opened for reading, shared by both file
// back ends. Numbers start at 1 and are never reused, so a number kept past
// its file's closing can never name another file.
#pragma once

#include <map>
#include <utility>

#include "split/file_access.h"

namespace veskra {

// Handle: an owning, movable type with get() and Close() -> bool.
template <typename Handle>
class OpenFileTable {
 public:
  FileNumber Add(Handle handle) {
    const FileNumber number = ++last_number_;
    files_.emplace(number, std::move(handle));
    return number;
  }

  // The open file of that number, or nullptr.
  Handle* Find(FileNumber number) {
    const auto entry = files_.find(number);
    return entry == files_.end() ? nullptr : &entry->second;
  }

  bool Close(FileNumber number) {
    const auto entry = files_.find(number);
    if (entry == files_.end()) return false;
    const bool closed = entry->second.Close();
    files_.erase(entry);
    return closed;
  }

  void CloseAll() { files_.clear(); }

 private:
  std::map<FileNumber, Handle> files_;
  FileNumber last_number_ = 0;
};

}  // namespace veskra
