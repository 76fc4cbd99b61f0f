// A fresh folder for one test, and plain ways to look at the files in it,
// with byte-text names as the system uses them (GBK on Windows).
#pragma once

#include <filesystem>
#include <vector>

#include "text/byte_text.h"

namespace veskra::testing {

#ifdef _WIN32
inline constexpr char kSeparator[] = "\\";
#else
inline constexpr char kSeparator[] = "/";
#endif

std::filesystem::path NativePath(ByteView path);

class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const ByteText& path() const { return path_; }
  // The path of a name inside the folder.
  ByteText operator/(ByteView name) const;
  // The names in the folder, sorted.
  std::vector<ByteText> Names() const;

 private:
  ByteText path_;
};

void WriteWhole(ByteView path, ByteSetView bytes);
ByteSet ReadWhole(ByteView path);
bool Exists(ByteView path);
void MakeReadOnly(ByteView path, bool read_only);

}  // namespace veskra::testing
