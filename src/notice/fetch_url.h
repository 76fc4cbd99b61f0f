// One HTTP GET of a whole resource, through the platform's HTTP client.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/byte_text.h"

namespace veskra {

// What a fetch is allowed to cost. A hostile or broken server can neither
// make the body grow without end nor hold the fetch for ever.
struct FetchLimits {
  std::uint32_t timeout_ms = 15000;    // send and receive, per operation
  std::size_t max_body = 1024 * 1024;  // bytes kept; the rest is never read
};

struct FetchResult {
  ByteSet body;                 // empty when nothing could be read
  std::uint32_t read_size = 0;  // bytes asked for per read; 0 when no read was made
};

// GETs the address (http or https) with HTTP/1.0, always from the server,
// writing nothing to the cache. The body comes back whatever the status
// code; a read that fails part-way keeps what came before it. Needs no
// window and may run on any thread; one fetch runs at a time.
FetchResult FetchUrlWith(ByteView address, const FetchLimits& limits);
inline ByteSet FetchUrl(ByteView address) { return FetchUrlWith(address, FetchLimits{}).body; }

// Closes the client handle that fetches share, unless a fetch is using it
// right now (then the process end takes it). Never waits.
void CloseInternet();

}  // namespace veskra
