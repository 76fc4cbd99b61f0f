// The owning handle for WinInet handles (session, connection, request).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <utility>

namespace veskra {

class InternetHandle {
 public:
  InternetHandle() = default;
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  InternetHandle(InternetHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, nullptr)) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { Close(); }

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Close() {
    if (handle_) InternetCloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  HINTERNET handle_ = nullptr;
};

}  // namespace veskra
