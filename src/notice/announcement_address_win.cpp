// The shipped announcement address: a constant, the same in every run (the
// timeStamp value is fixed, not the time of the request).
#include "notice/announcement_address.h"

namespace veskra {

ByteText AnnouncementAddress() {
  return "http://notice.veskra.example/announcement.html?timeStamp=1733900000000";
}

}  // namespace veskra
