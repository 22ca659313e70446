// Memory allocation for the installer executable, which is built without
// exceptions: running out of memory ends the program at once instead of
// throwing. Replacing these keeps the library's exception machinery (and
// with it the thread library it locks with) out of the image.
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) std::abort();
  return p;
}

void* operator new[](std::size_t size) {
  return operator new(size);
}

void operator delete(void* p) noexcept {
  std::free(p);
}

void operator delete[](void* p) noexcept {
  std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

// The standard library's containers report misuse and exhausted memory
// through these helpers, which normally throw. Without exceptions the
// program ends instead; defining them here keeps the library's throwing
// versions (and everything they pull in) out of the link.
namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
}  // namespace std
