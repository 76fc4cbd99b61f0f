#include "scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/gbk.h"
#else
#include <unistd.h>
#endif

namespace veskra::testing {

namespace fs = std::filesystem;

namespace {

ByteText ByteName(const fs::path& path) {
#ifdef _WIN32
  return GbkFromWide(path.wstring());
#else
  return path.string();
#endif
}

long ProcessId() {
#ifdef _WIN32
  return static_cast<long>(::GetCurrentProcessId());
#else
  return static_cast<long>(::getpid());
#endif
}

}  // namespace

fs::path NativePath(ByteView path) {
#ifdef _WIN32
  return fs::path(WideFromGbk(path));
#else
  return fs::path(std::string(path));
#endif
}

ScratchFolder::ScratchFolder() {
  static std::atomic<int> serial{0};
  const fs::path folder =
      fs::temp_directory_path() /
      ("veskra-files-" + std::to_string(ProcessId()) + "-" + std::to_string(++serial));
  fs::remove_all(folder);
  fs::create_directories(folder);
  path_ = ByteName(folder);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(NativePath(path_), ignored)) {
    fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::remove_all(NativePath(path_), ignored);
}

ByteText ScratchFolder::operator/(ByteView name) const {
  return JoinTexts({path_, kSeparator, name});
}

std::vector<ByteText> ScratchFolder::Names() const {
  std::vector<ByteText> names;
  for (const auto& entry : fs::directory_iterator(NativePath(path_))) {
    names.push_back(ByteName(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void WriteWhole(ByteView path, ByteSetView bytes) {
  std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

ByteSet ReadWhole(ByteView path) {
  std::ifstream in(NativePath(path), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(ByteView path) { return fs::exists(NativePath(path)); }

void MakeReadOnly(ByteView path, bool read_only) {
  // On Windows the library maps the write permission to the read-only
  // attribute.
  fs::permissions(NativePath(path),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  read_only ? fs::perm_options::remove : fs::perm_options::add);
}

}  // namespace veskra::testing
