// Where the announcement page lives. The shipped program has one fixed
// address; the network test program takes it from its environment instead.
// Exactly one of the two definitions is linked into a program.
#pragma once

#include "text/byte_text.h"

namespace veskra {

ByteText AnnouncementAddress();

}  // namespace veskra
