// Text: growable ANSI strings on the program's heap.
#include "text.h"

#include "memory.h"

char Text::empty_[1] = {'\0'};

namespace {

bool InSet(char c, const char* set) {
  for (; *set; ++set)
    if (*set == c) return true;
  return false;
}

int CompareRanges(const char* a, size_t an, const char* b, size_t bn) {
  int order = CompareBytes(a, b, an < bn ? an : bn);
  if (order) return order;
  return an < bn ? -1 : an > bn ? 1 : 0;
}

}  // namespace

size_t TextLength(const char* text) {
  size_t n = 0;
  if (text)
    while (text[n]) ++n;
  return n;
}

Text::Text(const char* text) : Text(text, TextLength(text)) {}

Text::Text(const char* bytes, size_t n) { append(bytes, n); }

Text::Text(size_t n, char c) { append(n, c); }

Text::Text(Text&& other) noexcept : bytes_(other.bytes_), size_(other.size_), capacity_(other.capacity_) {
  other.bytes_ = nullptr;
  other.size_ = other.capacity_ = 0;
}

Text::~Text() { GiveMemory(bytes_); }

Text& Text::operator=(const Text& other) {
  if (this != &other) assign(other.data(), other.size_);
  return *this;
}

Text& Text::operator=(Text&& other) noexcept {
  if (this != &other) {
    GiveMemory(bytes_);
    bytes_ = other.bytes_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.bytes_ = nullptr;
    other.size_ = other.capacity_ = 0;
  }
  return *this;
}

Text& Text::operator=(const char* text) { return assign(text, TextLength(text)); }

void Text::Grow(size_t needed) {
  if (needed <= capacity_) return;
  if (needed >= npos / 2) OutOfMemory();
  size_t capacity = capacity_ < 15 ? 15 : capacity_;
  while (capacity < needed) capacity = capacity * 2 + 1;
  char* grown = static_cast<char*>(ResizeMemory(bytes_, capacity + 1));
  if (!grown) OutOfMemory();
  if (!bytes_) grown[0] = '\0';
  bytes_ = grown;
  capacity_ = capacity;
}

void Text::clear() {
  size_ = 0;
  if (bytes_) bytes_[0] = '\0';
}

void Text::reserve(size_t capacity) { Grow(capacity); }

void Text::resize(size_t n, char c) {
  if (n <= size_) {
    size_ = n;
    if (bytes_) bytes_[n] = '\0';
    return;
  }
  append(n - size_, c);
}

Text& Text::assign(const char* bytes, size_t n) {
  // The source may lie inside this text.
  if (bytes_ && bytes >= bytes_ && bytes <= bytes_ + size_) {
    MoveBytes(bytes_, bytes, n);
    size_ = n;
    bytes_[n] = '\0';
    return *this;
  }
  clear();
  return append(bytes, n);
}

Text& Text::append(const char* bytes, size_t n) {
  if (n == 0) return *this;
  if (n > npos / 4 || size_ > npos / 4) OutOfMemory();
  if (size_ + n > capacity_) {
    // The source may lie inside this text, which growing moves.
    bool inside = bytes_ && bytes >= bytes_ && bytes < bytes_ + size_;
    size_t offset = inside ? static_cast<size_t>(bytes - bytes_) : 0;
    Grow(size_ + n);
    if (inside) bytes = bytes_ + offset;
  }
  MoveBytes(bytes_ + size_, bytes, n);
  size_ += n;
  bytes_[size_] = '\0';
  return *this;
}

Text& Text::append(const char* text) { return append(text, TextLength(text)); }

Text& Text::append(size_t n, char c) {
  if (n == 0) return *this;
  if (n > npos / 4) OutOfMemory();
  Grow(size_ + n);
  FillBytes(bytes_ + size_, c, n);
  size_ += n;
  bytes_[size_] = '\0';
  return *this;
}

// Built anew, so that the bytes may come from this text itself.
Text& Text::insert(size_t at, const char* bytes, size_t n) {
  if (at > size_) at = size_;
  Text result(c_str(), at);
  result.append(bytes, n);
  result.append(c_str() + at, size_ - at);
  return *this = static_cast<Text&&>(result);
}

Text& Text::insert(size_t at, const char* text) { return insert(at, text, TextLength(text)); }

Text& Text::erase(size_t at, size_t n) {
  if (at >= size_) return *this;
  if (n > size_ - at) n = size_ - at;
  MoveBytes(bytes_ + at, bytes_ + at + n, size_ - at - n + 1);
  size_ -= n;
  return *this;
}

Text& Text::replace(size_t at, size_t n, const char* text) { return replace(at, n, Text(text)); }

Text& Text::replace(size_t at, size_t n, const Text& text) {
  if (at > size_) at = size_;
  if (n > size_ - at) n = size_ - at;
  Text result(c_str(), at);
  result.append(text);
  result.append(c_str() + at + n, size_ - at - n);
  return *this = static_cast<Text&&>(result);
}

Text Text::substr(size_t at, size_t n) const {
  if (at >= size_) return Text();
  if (n > size_ - at) n = size_ - at;
  return Text(c_str() + at, n);
}

size_t Text::find(const char* bytes, size_t n, size_t from) const {
  if (from > size_ || n > size_ - from) return npos;
  for (size_t at = from; at + n <= size_; ++at)
    if (CompareBytes(c_str() + at, bytes, n) == 0) return at;
  return npos;
}

size_t Text::find(char c, size_t from) const {
  for (size_t at = from; at < size_; ++at)
    if (bytes_[at] == c) return at;
  return npos;
}

size_t Text::find(const char* text, size_t from) const { return find(text, TextLength(text), from); }
size_t Text::find(const Text& text, size_t from) const { return find(text.data(), text.size_, from); }

size_t Text::rfind(char c, size_t from) const {
  if (size_ == 0) return npos;
  for (size_t at = from < size_ ? from + 1 : size_; at-- > 0;)
    if (bytes_[at] == c) return at;
  return npos;
}

size_t Text::rfind(const char* text, size_t from) const {
  size_t n = TextLength(text);
  if (n > size_) return npos;
  size_t at = size_ - n;
  if (from < at) at = from;
  for (;; --at) {
    if (CompareBytes(c_str() + at, text, n) == 0) return at;
    if (at == 0) return npos;
  }
}

size_t Text::find_first_of(const char* set, size_t from) const {
  for (size_t at = from; at < size_; ++at)
    if (InSet(bytes_[at], set)) return at;
  return npos;
}

size_t Text::find_first_not_of(const char* set, size_t from) const {
  for (size_t at = from; at < size_; ++at)
    if (!InSet(bytes_[at], set)) return at;
  return npos;
}

size_t Text::find_last_of(const char* set, size_t from) const {
  if (size_ == 0) return npos;
  for (size_t at = from < size_ ? from + 1 : size_; at-- > 0;)
    if (InSet(bytes_[at], set)) return at;
  return npos;
}

size_t Text::find_last_not_of(const char* set, size_t from) const {
  if (size_ == 0) return npos;
  for (size_t at = from < size_ ? from + 1 : size_; at-- > 0;)
    if (!InSet(bytes_[at], set)) return at;
  return npos;
}

int Text::compare(const Text& other) const { return CompareRanges(c_str(), size_, other.c_str(), other.size_); }
int Text::compare(const char* text) const { return CompareRanges(c_str(), size_, text, TextLength(text)); }

int Text::compare(size_t at, size_t n, const char* text) const {
  if (at > size_) at = size_;
  if (n > size_ - at) n = size_ - at;
  return CompareRanges(c_str() + at, n, text, TextLength(text));
}

int Text::compare(size_t at, size_t n, const Text& text) const {
  if (at > size_) at = size_;
  if (n > size_ - at) n = size_ - at;
  return CompareRanges(c_str() + at, n, text.c_str(), text.size());
}

bool operator==(const Text& a, const Text& b) {
  return a.size() == b.size() && CompareBytes(a.c_str(), b.c_str(), a.size()) == 0;
}

bool operator==(const Text& a, const char* b) { return a.compare(b) == 0; }

Text operator+(const Text& a, const Text& b) {
  Text sum;
  sum.reserve(a.size() + b.size());
  return static_cast<Text&&>(sum.append(a).append(b));
}

Text operator+(const Text& a, const char* b) {
  Text sum(a);
  sum.append(b);
  return sum;
}

Text operator+(const char* a, const Text& b) {
  Text sum(a);
  sum.append(b);
  return sum;
}

Text operator+(const Text& a, char b) {
  Text sum(a);
  sum.append(1, b);
  return sum;
}
Text operator+(Text&& a, const Text& b) { return static_cast<Text&&>(a.append(b)); }
Text operator+(Text&& a, const char* b) { return static_cast<Text&&>(a.append(b)); }
Text operator+(Text&& a, char b) { return static_cast<Text&&>(a.append(1, b)); }
