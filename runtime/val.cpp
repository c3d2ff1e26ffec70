#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "arith/double_text.h"
#include "runtime/services.h"
#include "runtime/utf8.h"

namespace tavolen {

namespace {

bool IsBlank(char32_t c) {
  return c == U' ' || c == U'\t' || c == U'\u3000';
}

// The ASCII digit for an ASCII or full-width digit, or 0 for anything else.
char DigitOf(char32_t c) {
  if (c >= U'0' && c <= U'9') {
    return static_cast<char>(c);
  }
  if (c >= U'\uFF10' && c <= U'\uFF19') {
    return static_cast<char>(U'0' + (c - U'\uFF10'));
  }
  return 0;
}

// Reads text one code point at a time.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}
  [[nodiscard]] char32_t Peek() const {
    if (text_.empty()) {
      return 0;
    }
    const auto first = static_cast<unsigned char>(text_.front());
    return first < 0x80 ? first : DecodeUtf8(text_).code;
  }
  void Skip() {
    const auto first = static_cast<unsigned char>(text_.front());
    text_.remove_prefix(first < 0x80 ? 1 : DecodeUtf8(text_).length);
  }
  [[nodiscard]] bool AtEnd() const { return text_.empty(); }

 private:
  std::string_view text_;
};

// Appends the digits at the reader to ascii; returns how many there were.
std::size_t TakeDigits(Reader& reader, std::string& ascii) {
  std::size_t count = 0;
  while (!reader.AtEnd()) {
    const char digit = DigitOf(reader.Peek());
    if (digit == 0) {
      break;
    }
    ascii += digit;
    reader.Skip();
    ++count;
  }
  return count;
}

bool AtPoint(const Reader& reader) {
  return !reader.AtEnd() && (reader.Peek() == U'.' || reader.Peek() == U'\uFF0E');
}

// Digits, point and digits at the reader, correctly rounded to a Double.
Double ReadDecimal(Reader reader, bool negative) {
  std::string ascii = "0";
  std::size_t digits = TakeDigits(reader, ascii);
  if (AtPoint(reader)) {
    ascii += '.';
    reader.Skip();
    digits += TakeDigits(reader, ascii);
  }
  if (digits == 0) {
    return Double{0.0};
  }
  const double value = NearestDouble(ascii);
  if (std::isinf(value)) {
    throw Overflow();
  }
  // Adding +0.0 turns a negative zero into zero.
  return Double{(negative ? -value : value) + 0.0};
}

// The text of every cleaned field and every answer label: up to 15 ASCII
// digits and nothing else, a whole number exact as Double.
std::optional<Double> PlainDigits(std::string_view text) {
  constexpr std::size_t kExactDigits = 15;
  const std::optional<std::int64_t> whole = DigitsValue(text, kExactDigits);
  return whole ? std::optional(Double{static_cast<double>(*whole)}) : std::nullopt;
}

}  // namespace

Double Val(std::string_view text) {
  if (const std::optional<Double> plain = PlainDigits(text)) {
    return *plain;
  }
  Reader reader(text);
  while (!reader.AtEnd() && IsBlank(reader.Peek())) {
    reader.Skip();
  }
  bool negative = false;
  const char32_t sign = reader.AtEnd() ? 0 : reader.Peek();
  if (sign == U'-' || sign == U'\uFF0D' || sign == U'\u2212') {
    negative = true;
    reader.Skip();
  } else if (sign == U'+' || sign == U'\uFF0B') {
    reader.Skip();
  }
  // Whole numbers of up to 15 digits are exact as Double: the common case, read
  // without building a text.
  constexpr int kExactDigits = 15;
  const Reader number = reader;
  std::int64_t whole = 0;
  int digits = 0;
  while (digits <= kExactDigits && !reader.AtEnd()) {
    const char digit = DigitOf(reader.Peek());
    if (digit == 0) {
      break;
    }
    whole = whole * 10 + (digit - '0');
    ++digits;
    reader.Skip();
  }
  if (digits > 0 && digits <= kExactDigits && !AtPoint(reader)) {
    return Double{static_cast<double>(negative ? -whole : whole)};
  }
  return ReadDecimal(number, negative);
}

}  // namespace tavolen
