// For the network test program only: the announcement address comes from
// the environment variable VESKRA_TEST_ANNOUNCEMENT_URL, so a test can point
// the real window at a server of its own. Unset means no address, and so
// no fetch.
#include <windows.h>

#include <string>

#include "notice/announcement_address.h"
#include "platform/gbk.h"

namespace veskra {

ByteText AnnouncementAddress() {
  constexpr wchar_t kVariable[] = L"VESKRA_TEST_ANNOUNCEMENT_URL";
  const DWORD size = GetEnvironmentVariableW(kVariable, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(kVariable, value.data(), size);
  if (length == 0 || length >= size) return {};
  value.resize(length);
  return GbkFromWide(value);
}

}  // namespace veskra
