#include "arith/pupil_answer.h"

#include <array>
#include <numeric>
#include <string>
#include <utility>

#include "arith/number.h"

namespace tavolen {

namespace {

constexpr std::size_t kMaxDigits = 9;
constexpr std::string_view kJapaneseOver = "分の";
constexpr std::string_view kJapaneseAnd = "と";

// What an input method types for the ASCII characters of an answer. Each is a
// whole UTF-8 sequence, so a byte-wise replacement cannot split a character.
std::string ToAscii(std::string_view text) {
  constexpr std::array<std::pair<std::string_view, char>, 4> kSigns{{
      {"／", '/'},
      {"－", '-'},
      {"−", '-'},
      {"\u3000", ' '},
  }};
  constexpr std::string_view kFullWidthZero = "０";
  std::string out;
  while (!text.empty()) {
    bool replaced = false;
    for (const auto& [wide, ascii] : kSigns) {
      if (text.starts_with(wide)) {
        out += ascii;
        text.remove_prefix(wide.size());
        replaced = true;
      }
    }
    // ０ to ９ are EF BC 90 to EF BC 99.
    if (!replaced && text.size() >= kFullWidthZero.size() &&
        text.substr(0, 2) == kFullWidthZero.substr(0, 2) &&
        static_cast<unsigned char>(text[2]) >= static_cast<unsigned char>(kFullWidthZero[2]) &&
        static_cast<unsigned char>(text[2]) <= static_cast<unsigned char>(kFullWidthZero[2]) + 9) {
      out += static_cast<char>('0' + (static_cast<unsigned char>(text[2]) -
                                      static_cast<unsigned char>(kFullWidthZero[2])));
      text.remove_prefix(kFullWidthZero.size());
      replaced = true;
    }
    if (!replaced) {
      out += text.front();
      text.remove_prefix(1);
    }
  }
  return out;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) {
    return {};
  }
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::optional<std::int64_t> ReadDigits(std::string_view text) {
  return text.empty() ? std::nullopt : DigitsValue(text, kMaxDigits);
}

// "N/D" or "D分のN" into the answer's fraction.
bool ReadFraction(std::string_view text, bool japanese, PupilAnswer& answer) {
  const std::string_view separator = japanese ? kJapaneseOver : "/";
  const std::size_t at = text.find(separator);
  if (at == std::string_view::npos) {
    return false;
  }
  const std::string_view before = text.substr(0, at);
  const std::string_view after = text.substr(at + separator.size());
  const auto numerator = ReadDigits(japanese ? after : before);
  const auto denominator = ReadDigits(japanese ? before : after);
  if (!numerator || !denominator || *denominator == 0) {
    return false;
  }
  answer.numerator = *numerator;
  answer.denominator = *denominator;
  return true;
}

// The answer without its sign: W, N/D, W N/D, D分のN or WとD分のN.
bool ReadUnsigned(std::string_view text, PupilAnswer& answer) {
  if (const std::size_t at = text.find(kJapaneseAnd); at != std::string_view::npos) {
    const auto whole = ReadDigits(text.substr(0, at));
    answer.whole = whole.value_or(0);
    return whole && ReadFraction(text.substr(at + kJapaneseAnd.size()), true, answer);
  }
  if (text.find(kJapaneseOver) != std::string_view::npos) {
    return ReadFraction(text, true, answer);
  }
  if (text.find('/') == std::string_view::npos) {
    const auto whole = ReadDigits(text);
    answer.whole = whole.value_or(0);
    return whole.has_value();
  }
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) {
    return ReadFraction(text, false, answer);
  }
  const auto whole = ReadDigits(text.substr(0, space));
  answer.whole = whole.value_or(0);
  return whole && ReadFraction(Trimmed(text.substr(space)), false, answer);
}

}  // namespace

Rational PupilAnswer::Value() const {
  const Rational magnitude =
      denominator == 0 ? Rational(whole) : Rational(whole) + Rational(numerator, denominator);
  return negative ? -magnitude : magnitude;
}

WrittenShape PupilAnswer::Shape() const {
  if (denominator == 0) {
    return WrittenShape::Whole;
  }
  return whole == 0 ? WrittenShape::Fraction : WrittenShape::Mixed;
}

bool PupilAnswer::InLowestTerms() const {
  return denominator == 0 || (denominator != 1 && std::gcd(numerator, denominator) == 1);
}

std::optional<PupilAnswer> ReadPupilAnswer(std::string_view text) {
  const std::string ascii = ToAscii(text);
  std::string_view rest = Trimmed(ascii);
  PupilAnswer answer;
  if (rest.starts_with('-')) {
    answer.negative = true;
    rest.remove_prefix(1);
  }
  if (!ReadUnsigned(rest, answer)) {
    return std::nullopt;
  }
  return answer;
}

}  // namespace tavolen
