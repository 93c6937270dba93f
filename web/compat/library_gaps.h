#pragma once
// Standard library parts the logic uses that the C++ library of the web
// toolchain (libc++ 13) does not have yet. Force-included into the web build
// only; each part is defined only where its feature-test macro says the
// library lacks it, so a newer library uses its own.

#include <cstddef>
#include <memory>
#include <type_traits>

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
namespace std {

template <class T>
  requires is_unbounded_array_v<T>
unique_ptr<T> make_unique_for_overwrite(size_t count) {
  return unique_ptr<T>(new remove_extent_t<T>[count]);
}

template <class T>
  requires(!is_array_v<T>)
unique_ptr<T> make_unique_for_overwrite() {
  return unique_ptr<T>(new T);
}

}  // namespace std
#endif
