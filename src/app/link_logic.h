// The portable rules behind the links and the book chooser: the open
// dialog's filter list and the browser command line of a link click.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "text/byte_text.h"

namespace veskra {

// The filter list of the open dialog: description and pattern pairs, each
// ended by a NUL, the whole list ended by one more NUL. `index` is 1-based;
// an empty filter gives no list and index 0.
struct FilterList {
  ByteSet entries;
  int index = 0;
};

// filter: pairs separated by "|" in GBK, e.g. "Text|*.txt". initial_filter:
// the 0-based entry to start with (a negative one counts as 0).
FilterList BuildFilterList(ByteView filter, int initial_filter);

// Room for the browser command line of a link click, terminating NUL
// included: the registered command line (at most 260 characters), a space
// and the web address.
inline constexpr std::size_t kBrowserCommandCapacity = 1024;

// The command line that opens `address` with the program registered for web
// pages: `registered` cut at its first quoted "%1" (the opening quote goes
// with it), else just before its first "%1", else whole; then one space and
// the address. Nothing when the result and its NUL do not fit `capacity`
// characters.
std::optional<std::wstring> BrowserCommandLine(std::wstring_view registered,
                                               std::wstring_view address,
                                               std::size_t capacity = kBrowserCommandCapacity);

}  // namespace veskra
