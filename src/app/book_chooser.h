// The book chooser: the open-file dialog, remembering the last book chosen.
#pragma once

#include <windows.h>

#include "text/byte_text.h"

namespace veskra {

class BookChooser {
 public:
  // filter: description and pattern pairs separated by "|" (GBK).
  explicit BookChooser(ByteView filter) : filter_(filter) {}

  // Shows the dialog owned by `owner`; true when the user confirmed a file,
  // whose full path path() then holds. Otherwise path() is unchanged.
  bool Show(HWND owner);
  const ByteText& path() const { return path_; }

 private:
  ByteText filter_;
  ByteText path_;
};

}  // namespace veskra
