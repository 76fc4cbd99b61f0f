#include "app/link_logic.h"

namespace veskra {
namespace {

bool IsTrailingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

FilterList BuildFilterList(ByteView filter, int initial_filter) {
  while (!filter.empty() && IsTrailingSpace(filter.back())) filter.remove_suffix(1);
  if (filter.empty()) return {};

  FilterList list;
  list.entries.assign(filter);
  if (!list.entries.ends_with("||")) list.entries += "||";
  // Character by character: the second byte of a GBK character may be 0x7C
  // and is then part of the character, not a separator.
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const auto byte = static_cast<unsigned char>(list.entries[i]);
    if (IsLeadByte(byte)) {
      ++i;
    } else if (byte == '|') {
      list.entries[i] = '\0';
    }
  }
  list.index = (initial_filter < 0 ? 0 : initial_filter) + 1;
  return list;
}

std::optional<std::wstring> BrowserCommandLine(std::wstring_view registered,
                                               std::wstring_view address, std::size_t capacity) {
  std::wstring_view program = registered;
  if (const auto quoted = registered.find(L"\"%1\""); quoted != std::wstring_view::npos) {
    program = registered.substr(0, quoted);
  } else if (const auto bare = registered.find(L"%1"); bare != std::wstring_view::npos) {
    program = registered.substr(0, bare);
  }
  // The command line, its space and its NUL must all fit.
  if (program.size() >= capacity || address.size() >= capacity - program.size() - 1) {
    return std::nullopt;
  }
  std::wstring line;
  line.reserve(program.size() + 1 + address.size());
  line.append(program).append(1, L' ').append(address);
  return line;
}

}  // namespace veskra
