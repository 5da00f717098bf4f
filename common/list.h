// List: a growable array on the program's heap, for the shipped programs,
// which carry no C++ library.  It offers the part of std::vector that the code
// uses, with the same names and meanings; a list that cannot grow ends the
// program (OutOfMemory).
#pragma once
#include <stddef.h>

#include <initializer_list>
#include <new>
#include <utility>

#include "common/memory.h"

template <typename T>
class List {
 public:
  constexpr List() = default;
  List(std::initializer_list<T> items) {
    reserve(items.size());
    for (const T& item : items) push_back(item);
  }
  List(const List& other) {
    reserve(other.size_);
    for (const T& item : other) push_back(item);
  }
  List(List&& other) noexcept : items_(other.items_), size_(other.size_), capacity_(other.capacity_) {
    other.items_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  ~List() {
    clear();
    GiveMemory(items_);
  }
  List& operator=(const List& other) {
    if (this != &other) {
      List copy(other);
      *this = std::move(copy);
    }
    return *this;
  }
  List& operator=(List&& other) noexcept {
    if (this != &other) {
      clear();
      GiveMemory(items_);
      items_ = other.items_;
      size_ = other.size_;
      capacity_ = other.capacity_;
      other.items_ = nullptr;
      other.size_ = other.capacity_ = 0;
    }
    return *this;
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t at) { return items_[at]; }
  const T& operator[](size_t at) const { return items_[at]; }
  T& front() { return items_[0]; }
  const T& front() const { return items_[0]; }
  T& back() { return items_[size_ - 1]; }
  const T& back() const { return items_[size_ - 1]; }
  T* data() { return items_; }
  const T* data() const { return items_; }
  T* begin() { return items_; }
  T* end() { return items_ + size_; }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + size_; }

  void reserve(size_t capacity) {
    if (capacity > capacity_) MoveTo(capacity);
  }
  void clear() {
    while (size_) items_[--size_].~T();
  }
  void resize(size_t n) {
    while (size_ > n) items_[--size_].~T();
    reserve(n);
    while (size_ < n) new (items_ + size_++) T();
  }
  // The item may be one of the list's own: it is copied before the list
  // grows.
  void push_back(const T& item) {
    T copy(item);
    emplace_back(std::move(copy));
  }
  void push_back(T&& item) { emplace_back(std::move(item)); }
  // The arguments must not refer to the list's own items, which growing
  // moves.
  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == capacity_) MoveTo(Grown());
    return *new (items_ + size_++) T(std::forward<Args>(args)...);
  }
  void pop_back() { items_[--size_].~T(); }
  // Removes [first, last), keeping the order of the rest; gives the item
  // that now stands at first.
  T* erase(T* first, T* last) {
    T* out = first;
    for (T* in = last; in != end(); ++in, ++out) *out = std::move(*in);
    while (end() != out) items_[--size_].~T();
    return first;
  }
  T* erase(T* at) { return erase(at, at + 1); }
  T* insert(T* at, const T& item) {
    size_t index = static_cast<size_t>(at - items_);
    T copy(item);
    emplace_back(std::move(copy));
    for (size_t i = size_ - 1; i > index; --i) std::swap(items_[i], items_[i - 1]);
    return items_ + index;
  }

 private:
  size_t Grown() const { return capacity_ < 4 ? 4 : capacity_ * 2; }
  static T* Allocate(size_t capacity) {
    if (capacity > static_cast<size_t>(-1) / 4 / sizeof(T)) OutOfMemory();
    void* block = TakeMemory(capacity * sizeof(T));
    if (!block) OutOfMemory();
    return static_cast<T*>(block);
  }
  // Moves the items into `grown`, which has room for `capacity`.
  void Adopt(T* grown, size_t capacity) {
    for (size_t i = 0; i < size_; ++i) {
      new (grown + i) T(std::move(items_[i]));
      items_[i].~T();
    }
    GiveMemory(items_);
    items_ = grown;
    capacity_ = capacity;
  }
  // Out of line: growing is rare, and each call site stays small.
  __attribute__((noinline)) void MoveTo(size_t capacity) { Adopt(Allocate(capacity), capacity); }

  T* items_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

template <typename T>
bool operator==(const List<T>& a, const List<T>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!(a[i] == b[i])) return false;
  return true;
}
template <typename T>
bool operator!=(const List<T>& a, const List<T>& b) {
  return !(a == b);
}
