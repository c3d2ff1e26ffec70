#include <array>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <string>

#include "arith/double_text.h"
#include "arith/number.h"

namespace tavolen {
namespace {

// to_chars never consults the locale, unlike the stream and printf families.
template <std::integral T>
std::string DecimalText(const T value) {
  std::array<char, 32> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  return std::string(buffer.data(), end);
}

}  // namespace

std::optional<std::int64_t> DigitsValue(const std::string_view text, const std::size_t maxDigits) {
  if (text.size() > maxDigits) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string TextOf(const Integer x) {
  return DecimalText(x.value);
}

std::string TextOf(const Long x) {
  return DecimalText(x.value);
}

std::string TextOf(const Currency x) {
  // The magnitude of the most negative count only fits unsigned.
  const std::uint64_t magnitude =
      x.count < 0 ? 0U - static_cast<std::uint64_t>(x.count) : static_cast<std::uint64_t>(x.count);
  constexpr auto kScale = static_cast<std::uint64_t>(Currency::kScale);
  std::string text = (x.count < 0 ? "-" : "") + DecimalText(magnitude / kScale);
  const std::uint64_t fraction = magnitude % kScale;
  if (fraction == 0) {
    return text;
  }
  std::string digits = DecimalText(fraction + kScale).substr(1);
  digits.erase(digits.find_last_not_of('0') + 1);
  return text + "." + digits;
}

std::string TextOf(const Double x) {
  constexpr double kIntegerTextLimit = 1e15;
  if (std::trunc(x.value) == x.value && std::fabs(x.value) < kIntegerTextLimit) {
    // A negative zero converts to the integer 0 and so prints as "0".
    return DecimalText(static_cast<std::int64_t>(x.value));
  }
  return ShortestText(x.value);
}

}  // namespace tavolen
