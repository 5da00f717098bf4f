// A growable array of plain values on the program's heap.  Running out of
// memory is an answer here (false), not the end of the program as it is for
// common/list.h: the engine answers "nothing found" instead.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <type_traits>

#include "common/memory.h"

template <typename T>
class PodArray {
  static_assert(std::is_trivially_copyable<T>::value, "plain values only");

 public:
  PodArray() = default;
  ~PodArray() { GiveMemory(data_); }
  PodArray(const PodArray&) = delete;
  PodArray& operator=(const PodArray&) = delete;

  size_t Size() const { return size_; }
  T* Data() { return data_; }
  const T* Data() const { return data_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }

  // Grows or shrinks to `n`, new entries set to `fill`; false, and
  // unchanged, when memory runs out.
  bool Resize(size_t n, T fill = T()) {
    if (n > capacity_ && !Reserve(n > 2 * capacity_ ? n : 2 * capacity_)) return false;
    for (size_t i = size_; i < n; ++i) data_[i] = fill;
    size_ = n;
    return true;
  }
  bool Push(T value) { return Resize(size_ + 1, value); }
  void Pop() { --size_; }
  // Empties the array and gives its memory back.
  void Release() {
    GiveMemory(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
  }

 private:
  bool Reserve(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) return false;
    void* grown = ResizeMemory(data_, n * sizeof(T));
    if (!grown) return false;
    data_ = static_cast<T*>(grown);
    capacity_ = n;
    return true;
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};
