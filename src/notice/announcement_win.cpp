// Placeholder until the fetch lands: no thread, the link keeps its caption.
#include "notice/announcement.h"

namespace veskra {

bool StartAnnouncement(HWND) { return false; }
void EndAnnouncement() {}

}  // namespace veskra
