// What Emscripten's libc++ (that of LLVM 14) lacks of the C++20 library the core uses; the web
// build includes this ahead of every source file. Where the library has it, this adds nothing.
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
namespace std {

template <class T>
  requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t size) {
  return unique_ptr<T>(new remove_extent_t<T>[size]);
}

template <class T>
  requires(!is_array_v<T>)
unique_ptr<T> make_unique_for_overwrite() {
  return unique_ptr<T>(new T);
}

}  // namespace std
#endif
