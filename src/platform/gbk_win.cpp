#include "platform/gbk.h"

#include <windows.h>

#include <climits>

namespace veskra {
namespace {
constexpr UINT kGbk = 936;
}

std::wstring WideFromGbk(ByteView text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int in = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(kGbk, 0, text.data(), in, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(kGbk, 0, text.data(), in, wide.data(), n);
  return wide;
}

ByteText GbkFromWide(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int in = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(kGbk, 0, text.data(), in, nullptr, 0, nullptr, nullptr);
  ByteText bytes(static_cast<std::size_t>(n), '\0');
  if (n > 0) WideCharToMultiByte(kGbk, 0, text.data(), in, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace veskra
