// Resource IDs shared by veskra.rc and the code.
#pragma once

#define VESKRA_ICON 1
