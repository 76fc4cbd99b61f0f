// Owners for the GDI objects that the self-drawn controls make: one owning
// type per object kind, each deleting its object once.
#pragma once

#include <windows.h>

#include <utility>

namespace veskra {

template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() { Reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  void Reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }
  Handle handle_ = nullptr;
};

using FontObject = GdiObject<HFONT>;
using BrushObject = GdiObject<HBRUSH>;
using BitmapObject = GdiObject<HBITMAP>;

// Selects an object into a device context for one scope, then puts the
// previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace veskra
