// The announcement thread: one fetch, one caption write, and it ends.
#include "notice/announcement.h"

#include "notice/announcement_address.h"
#include "notice/fetch_url.h"
#include "notice/notice.h"
#include "platform/gbk.h"

namespace veskra {

namespace {

// Writes the notice into the link. SetWindowTextW is carried out by the
// thread that owns the link, and this thread waits for it. When the window
// is already gone the call fails and the program is ending anyway.
void ShowNotice(HWND link, ByteView notice) {
  const std::wstring caption = WideFromGbk(notice);
  if (SetWindowTextW(link, caption.c_str())) InvalidateRect(link, nullptr, FALSE);
}

DWORD WINAPI FetchAnnouncement(LPVOID parameter) {
  const auto link = static_cast<HWND>(parameter);
  const ByteText notice = ExtractNotice(FetchUrl(AnnouncementAddress()));
  ShowNotice(link, notice);
  return 0;
}

}  // namespace

bool StartAnnouncement(HWND link) {
  // Nothing ever waits for the thread or stops it: the handle goes at once.
  HANDLE thread = CreateThread(nullptr, 0, FetchAnnouncement, link, 0, nullptr);
  if (!thread) return false;
  CloseHandle(thread);
  return true;
}

void EndAnnouncement() { CloseInternet(); }

}  // namespace veskra
