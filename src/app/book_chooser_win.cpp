// Placeholder until the open-file dialog lands.
#include "app/book_chooser.h"

namespace veskra {

bool BookChooser::Show(HWND) { return false; }

}  // namespace veskra
