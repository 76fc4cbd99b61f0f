// Every allocation of the program goes through here, so that memory which
// cannot be had ends the program with the byte count asked for, instead of an
// exception escaping through a window procedure.
#include <cstdlib>
#include <new>

#include "text/fatal_error.h"

namespace {

void* AllocateOrDie(std::size_t size) {
  if (size == 0) size = 1;
  if (void* p = std::malloc(size)) return p;
  // A huge request failed; the few bytes of the message are still to be had.
  veskra::ReportFatalError(veskra::OutOfMemoryMessage(size));
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrDie(size); }
void* operator new[](std::size_t size) { return AllocateOrDie(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrDie(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateOrDie(size);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
