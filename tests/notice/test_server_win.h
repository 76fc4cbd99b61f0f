// A small HTTP server on 127.0.0.1 for the announcement tests, run inside
// the test program on threads of its own. Each path chooses a behaviour:
// a page, an error page, a huge or dripping body, or no answer at all.
// Header-only, so that any test program can take it in; link ws2_32.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace veskra::testing_server {

// What the server does with one request, given the socket of the
// connection and a flag that turns true when the server stops.
using Behaviour = std::function<void(SOCKET, const std::atomic<bool>& stopping)>;

inline bool SendAll(SOCKET socket, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const int n = send(socket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

// Sleeps up to ms, in short steps, returning early when the server stops.
inline bool Pause(const std::atomic<bool>& stopping, int ms) {
  for (int waited = 0; waited < ms; waited += 20) {
    if (stopping) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return !stopping;
}

// A whole response: status line, headers (each ending in CR LF) and body.
inline Behaviour Reply(std::string status, std::string headers, std::string body) {
  return [=](SOCKET socket, const std::atomic<bool>&) {
    SendAll(socket, "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body);
  };
}
inline Behaviour Page(std::string body) {
  const std::string length = "Content-Length: " + std::to_string(body.size()) + "\r\n";
  return Reply("200 OK", "Content-Type: text/html\r\n" + length, std::move(body));
}

class TestServer {
 public:
  // Maps a request's path (with query) to what the server does.
  using Routes = std::function<Behaviour(const std::string& path)>;

  explicit TestServer(Routes routes) : routes_(std::move(routes)) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    int size = sizeof(address);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }

  ~TestServer() {
    stopping_ = true;
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& connection : connections_) connection.join();
    WSACleanup();
  }
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  bool ok() const { return port_ != 0; }
  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // The request heads received so far, byte for byte, in order.
  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void AcceptLoop() {
    while (!stopping_) {
      const SOCKET client = accept(listener_, nullptr, nullptr);
      if (client == INVALID_SOCKET) return;
      std::lock_guard lock(mutex_);
      connections_.emplace_back([this, client] { Serve(client); });
    }
  }

  void Serve(SOCKET client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
      const int n = recv(client, buffer, sizeof(buffer), 0);
      if (n <= 0) break;
      head.append(buffer, static_cast<std::size_t>(n));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(head);
    }
    const auto first_blank = head.find(' ');
    const auto second_blank = head.find(' ', first_blank + 1);
    const std::string path = first_blank == std::string::npos || second_blank == std::string::npos
                                 ? std::string()
                                 : head.substr(first_blank + 1, second_blank - first_blank - 1);
    if (const Behaviour behaviour = routes_(path)) behaviour(client, stopping_);
    shutdown(client, SD_SEND);
    closesocket(client);
  }

  Routes routes_;
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  mutable std::mutex mutex_;
  std::vector<std::thread> connections_;
  std::vector<std::string> requests_;
};

// Behaviours for faulty servers.

// Accepts, reads the request and never answers, until the server stops
// (at most 10 minutes): a fetch that returns before then gave up by itself.
inline Behaviour Silent() {
  return [](SOCKET, const std::atomic<bool>& stopping) { Pause(stopping, 600000); };
}

// Sends the head, then one byte a second, for as long as the server runs.
inline Behaviour Drip(char byte) {
  return [byte](SOCKET socket, const std::atomic<bool>& stopping) {
    if (!SendAll(socket, "HTTP/1.0 200 OK\r\n\r\n")) return;
    while (Pause(stopping, 1000) && SendAll(socket, std::string(1, byte))) {
    }
  };
}

// A body of `size` bytes made by `fill(offset)` in chunks, with or without a
// Content-Length; stops early when the client goes away.
inline Behaviour Stream(std::size_t size, std::function<char(std::size_t)> fill,
                        bool with_length = true) {
  return [=](SOCKET socket, const std::atomic<bool>& stopping) {
    std::string head = "HTTP/1.0 200 OK\r\n";
    if (with_length) head += "Content-Length: " + std::to_string(size) + "\r\n";
    if (!SendAll(socket, head + "\r\n")) return;
    std::string chunk;
    for (std::size_t at = 0; at < size && !stopping;) {
      chunk.clear();
      for (; at < size && chunk.size() < 65536; ++at) chunk.push_back(fill(at));
      if (!SendAll(socket, chunk)) return;
    }
  };
}

}  // namespace veskra::testing_server
