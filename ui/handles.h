#pragma once
// Thin owners of Win32 handles: each closes what it holds exactly once, also
// on early returns.
#include <windows.h>

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::valid(handle_); }

  Handle release() {
    Handle handle = handle_;
    handle_ = Traits::empty();
    return handle;
  }

  void reset(Handle handle = Traits::empty()) {
    if (Traits::valid(handle_)) Traits::close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::empty();
};

struct WindowTraits {
  using Handle = HWND;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DestroyWindow(h); }
};

template <typename GdiHandle>
struct GdiObjectTraits {
  using Handle = GdiHandle;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};

// Kernel objects (processes, threads, files). Both null and
// INVALID_HANDLE_VALUE mean "nothing held".
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle empty() { return nullptr; }
  static bool valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};

using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
