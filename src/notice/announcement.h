// The announcement: a background fetch of a notice into the top link.
#pragma once

#include <windows.h>

namespace veskra {

// Starts the announcement thread and returns at once. The thread fetches
// the page, takes the notice between its markers and writes it into the
// link with SetWindowTextW. False when the thread could not be started.
bool StartAnnouncement(HWND link);

// At program end: releases the HTTP client's handle, unless a fetch that
// hangs still holds it (the process end then takes it). Never waits.
void EndAnnouncement();

}  // namespace veskra
