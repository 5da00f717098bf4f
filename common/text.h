// Text: a growable ANSI string on the program's heap, for the shipped
// programs, which carry no C++ library.  It offers the part of std::string
// that the code uses, with the same names and meanings, except that a
// position past the end is never an error: it reads as the end (substr and
// compare give the empty text there, find gives npos).  The text is always
// zero-terminated; a text that cannot grow ends the program (OutOfMemory).
#pragma once
#include <stddef.h>

// Length of a zero-terminated text; a null pointer has none.
size_t TextLength(const char* text);

class Text {
 public:
  static constexpr size_t npos = static_cast<size_t>(-1);

  constexpr Text() = default;
  Text(const char* text);  // NOLINT: literals convert, as they do to std::string
  Text(const char* bytes, size_t n);
  Text(const char* first, const char* last) : Text(first, static_cast<size_t>(last - first)) {}
  Text(size_t n, char c);
  // Any other text that keeps its bytes in one piece, such as the tests'
  // std::string.
  template <typename Other, typename = decltype(static_cast<const char*>(static_cast<const Other*>(nullptr)->data()) +
                                                static_cast<const Other*>(nullptr)->size())>
  Text(const Other& other) : Text(other.data(), other.size()) {}  // NOLINT: converts as literals do
  Text(const Text& other) : Text(other.data(), other.size_) {}
  Text(Text&& other) noexcept;
  ~Text();
  Text& operator=(const Text& other);
  Text& operator=(Text&& other) noexcept;
  Text& operator=(const char* text);

  const char* c_str() const { return bytes_ ? bytes_ : ""; }
  const char* data() const { return c_str(); }
  // Writable bytes: size() of them, then the terminator.  Never null, but
  // for an empty text without room it must not be written.
  char* data() { return bytes_ ? bytes_ : empty_; }
  size_t size() const { return size_; }
  size_t length() const { return size_; }
  bool empty() const { return size_ == 0; }
  char& operator[](size_t at) { return data()[at]; }
  char operator[](size_t at) const { return c_str()[at]; }
  char& front() { return data()[0]; }
  char front() const { return c_str()[0]; }
  char& back() { return data()[size_ - 1]; }
  char back() const { return c_str()[size_ - 1]; }
  char* begin() { return data(); }
  char* end() { return data() + size_; }
  const char* begin() const { return c_str(); }
  const char* end() const { return c_str() + size_; }

  void clear();
  void reserve(size_t capacity);
  void resize(size_t n, char c = '\0');
  void push_back(char c) { append(1, c); }
  void pop_back() { if (size_) bytes_[--size_] = '\0'; }
  Text& assign(const char* bytes, size_t n);
  Text& append(const char* bytes, size_t n);
  Text& append(const char* text);
  Text& append(const Text& text) { return append(text.data(), text.size_); }
  Text& append(size_t n, char c);
  Text& operator+=(const Text& text) { return append(text); }
  Text& operator+=(const char* text) { return append(text); }
  Text& operator+=(char c) { return append(1, c); }
  Text& insert(size_t at, const char* bytes, size_t n);
  Text& insert(size_t at, const char* text);
  Text& insert(size_t at, const Text& text) { return insert(at, text.data(), text.size_); }
  Text& erase(size_t at = 0, size_t n = npos);
  Text& replace(size_t at, size_t n, const char* text);
  Text& replace(size_t at, size_t n, const Text& text);

  Text substr(size_t at = 0, size_t n = npos) const;
  size_t find(char c, size_t from = 0) const;
  size_t find(const char* text, size_t from = 0) const;
  size_t find(const Text& text, size_t from = 0) const;
  size_t rfind(char c, size_t from = npos) const;
  size_t rfind(const char* text, size_t from = npos) const;
  size_t find_first_of(const char* set, size_t from = 0) const;
  size_t find_first_not_of(const char* set, size_t from = 0) const;
  size_t find_first_not_of(char c, size_t from = 0) const {
    for (size_t at = from; at < size_; ++at)
      if (bytes_[at] != c) return at;
    return npos;
  }
  size_t find_last_of(char c, size_t from = npos) const { return rfind(c, from); }
  size_t find_last_of(const char* set, size_t from = npos) const;
  size_t find_last_not_of(const char* set, size_t from = npos) const;
  // Byte order, as memcmp and then length order.
  int compare(const Text& other) const;
  int compare(const char* text) const;
  int compare(size_t at, size_t n, const char* text) const;
  int compare(size_t at, size_t n, const Text& text) const;

 private:
  void Grow(size_t needed);
  size_t find(const char* bytes, size_t n, size_t from) const;

  char* bytes_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;  // bytes besides the terminator
  static char empty_[1];
};

bool operator==(const Text& a, const Text& b);
bool operator==(const Text& a, const char* b);
inline bool operator==(const char* a, const Text& b) { return b == a; }
inline bool operator!=(const Text& a, const Text& b) { return !(a == b); }
inline bool operator!=(const Text& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const Text& b) { return !(b == a); }
inline bool operator<(const Text& a, const Text& b) { return a.compare(b) < 0; }

Text operator+(const Text& a, const Text& b);
Text operator+(const Text& a, const char* b);
Text operator+(const char* a, const Text& b);
Text operator+(const Text& a, char b);
Text operator+(Text&& a, const Text& b);
Text operator+(Text&& a, const char* b);
Text operator+(Text&& a, char b);
