// FetchUrl on WinInet. The session handle is opened by the first fetch and
// held until the program ends; connection and request handles live for one
// fetch only.
#include "notice/fetch_url.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "notice/internet_handle_win.h"
#include "notice/notice.h"
#include "platform/gbk.h"

namespace veskra {

namespace {

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
// The accept list's single entry carries a blank before its CR LF.
constexpr wchar_t kAcceptEntry[] = L"Accept: */* \r\n";
constexpr wchar_t kExtraHeaders[] = L"Accept: */*\r\n\r\n";
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// The session shared by all fetches. Never destroyed: at process end a
// fetch may still be blocked inside it, and closing it under that fetch
// could hang the exit.
struct Session {
  std::mutex in_use;
  InternetHandle internet;
};

Session& TheSession() {
  static Session* session = new Session;
  return *session;
}

struct ParsedAddress {
  std::wstring host, user, password, path_and_query;
  INTERNET_PORT port = 0;
  bool secure = false;
};

std::optional<std::wstring> Canonical(const std::wstring& address) {
  std::vector<wchar_t> buffer(address.size() * 3 + 64);
  DWORD length = static_cast<DWORD>(buffer.size());
  if (!InternetCanonicalizeUrlW(address.c_str(), buffer.data(), &length, ICU_NO_ENCODE)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    buffer.assign(length + 1, L'\0');
    length = static_cast<DWORD>(buffer.size());
    if (!InternetCanonicalizeUrlW(address.c_str(), buffer.data(), &length, ICU_NO_ENCODE)) {
      return std::nullopt;
    }
  }
  return std::wstring(buffer.data(), length);
}

std::optional<ParsedAddress> ParseAddress(ByteView address) {
  const std::optional<std::wstring> url = Canonical(WideFromGbk(address));
  if (!url) return std::nullopt;
  const DWORD size = static_cast<DWORD>(url->size() + 1);
  std::vector<wchar_t> host(size), user(size), password(size), path(size), extra(size);
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host.data();
  parts.dwHostNameLength = size;
  parts.lpszUserName = user.data();
  parts.dwUserNameLength = size;
  parts.lpszPassword = password.data();
  parts.dwPasswordLength = size;
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = size;
  parts.lpszExtraInfo = extra.data();
  parts.dwExtraInfoLength = size;
  if (!InternetCrackUrlW(url->c_str(), static_cast<DWORD>(url->size()), 0, &parts)) {
    return std::nullopt;
  }
  ParsedAddress parsed;
  parsed.host.assign(host.data(), parts.dwHostNameLength);
  parsed.user.assign(user.data(), parts.dwUserNameLength);
  parsed.password.assign(password.data(), parts.dwPasswordLength);
  parsed.path_and_query.assign(path.data(), parts.dwUrlPathLength);
  parsed.path_and_query.append(extra.data(), parts.dwExtraInfoLength);
  // The fragment belongs to the reader, never to the server.
  if (const auto hash = parsed.path_and_query.find(L'#'); hash != std::wstring::npos) {
    parsed.path_and_query.resize(hash);
  }
  parsed.port = parts.nPort;
  parsed.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return parsed;
}

void SetTimeouts(HINTERNET handle, DWORD ms) {
  InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &ms, sizeof(ms));
  InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &ms, sizeof(ms));
}

void UseSystemProxy(HINTERNET internet, HINTERNET connection) {
  INTERNET_PROXY_INFO proxy{};
  proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  InternetSetOptionW(internet, INTERNET_OPTION_PROXY, &proxy, sizeof(proxy));
  wchar_t empty[] = L"";
  InternetSetOptionW(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 0);
  InternetSetOptionW(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 0);
}

std::optional<ByteText> ContentLength(HINTERNET request) {
  char text[32] = {};
  DWORD length = sizeof(text);
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &length, nullptr)) {
    return std::nullopt;
  }
  return ByteText(text, std::min<DWORD>(length, sizeof(text)));
}

// Reads the body in pieces of read_size, up to max_body bytes. A read that
// fails ends the body; what came before it is kept.
ByteSet ReadBody(HINTERNET request, std::uint32_t read_size, std::size_t max_body) {
  ByteSet body;
  std::vector<char> buffer(read_size);
  while (body.size() < max_body) {
    const auto ask = static_cast<DWORD>(std::min<std::size_t>(read_size, max_body - body.size()));
    DWORD got = 0;
    if (!InternetReadFile(request, buffer.data(), ask, &got) || got == 0) break;
    body.append(buffer.data(), got);
  }
  return body;
}

FetchResult FetchFrom(InternetHandle& internet, const ParsedAddress& to,
                      const FetchLimits& limits) {
  if (!internet) {
    internet =
        InternetHandle(InternetOpenW(kUserAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!internet) return {};
  }
  InternetHandle connection(InternetConnectW(internet.get(), to.host.c_str(), to.port,
                                             to.user.c_str(), to.password.c_str(),
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};
  UseSystemProxy(internet.get(), connection.get());
  SetTimeouts(connection.get(), limits.timeout_ms);

  const wchar_t* accept_types[] = {kAcceptEntry, nullptr};
  const DWORD flags = kRequestFlags | (to.secure ? INTERNET_FLAG_SECURE : 0);
  InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", to.path_and_query.c_str(),
                                          L"HTTP/1.0", nullptr, accept_types, flags, 0));
  if (!request) return {};
  SetTimeouts(request.get(), limits.timeout_ms);
  if (!HttpSendRequestW(request.get(), kExtraHeaders, static_cast<DWORD>(wcslen(kExtraHeaders)),
                        nullptr, 0)) {
    return {};
  }
  FetchResult result;
  result.read_size = ReadSizeFor(ContentLength(request.get()));
  result.body = ReadBody(request.get(), result.read_size, limits.max_body);
  return result;
}

}  // namespace

FetchResult FetchUrlWith(ByteView address, const FetchLimits& limits) {
  if (address.empty()) return {};
  const std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed) return {};
  Session& session = TheSession();
  std::lock_guard lock(session.in_use);
  return FetchFrom(session.internet, *parsed, limits);
}

void CloseInternet() {
  Session& session = TheSession();
  std::unique_lock lock(session.in_use, std::try_to_lock);
  if (lock.owns_lock()) session.internet.Close();
}

}  // namespace veskra
