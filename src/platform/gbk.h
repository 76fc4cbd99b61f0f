// The Win32 edge: byte text is GBK, Windows speaks UTF-16. Code page 936 is
// named explicitly, so texts read right whatever the system's code page.
#pragma once

#include <string>
#include <string_view>

#include "text/byte_text.h"

namespace veskra {

// Bytes that are not valid GBK become U+FFFD, so a bad name never silently
// turns into another valid one.
std::wstring WideFromGbk(ByteView text);
// Characters without a GBK form become '?'.
ByteText GbkFromWide(std::wstring_view text);

}  // namespace veskra
