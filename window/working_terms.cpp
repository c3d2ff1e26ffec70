#include "window/working_terms.h"

#include <array>
#include <charconv>
#include <utility>

namespace tavolen::working_terms {

std::string Digits(const std::uint64_t value) {
  std::array<char, 24> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  return {buffer.data(), end};
}

std::uint64_t Magnitude(const std::int64_t value) {
  return value < 0 ? 0U - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
}

std::string Digits(const std::int64_t value) {
  return (value < 0 ? "-" : "") + Digits(Magnitude(value));
}

bool IsCompound(const std::string_view term) {
  return term.find_first_not_of("0123456789") != std::string_view::npos;
}

WorkingNumber NumberOf(const StepFraction& f) {
  if (f.numerator == 0) {
    return {false, "0", "", ""};
  }
  const bool negative = (f.numerator < 0) != (f.denominator < 0);
  if (Magnitude(f.denominator) == 1) {
    return {negative, Digits(Magnitude(f.numerator)), "", ""};
  }
  return {negative, "", Digits(Magnitude(f.numerator)), Digits(Magnitude(f.denominator))};
}

std::string Term(const std::int64_t a, const CalcOperator op, const std::int64_t b) {
  return Digits(a) + std::string(OperatorSymbol(op)) + Digits(b);
}

WorkingNumber WithTerms(const bool negative, std::string whole, std::string numerator,
                        std::string denominator) {
  if (IsCompound(whole) && (negative || !denominator.empty())) {
    whole = "(" + whole + ")";
  }
  return {negative, std::move(whole), std::move(numerator), std::move(denominator)};
}

WorkingNumber MixedOf(const std::int64_t whole, const std::int64_t numerator,
                      const std::int64_t denominator) {
  if (numerator == 0) {
    return {false, Digits(whole), "", ""};
  }
  return {false, whole == 0 ? "" : Digits(whole), Digits(numerator), Digits(denominator)};
}

WorkingNumber ImproperTerms(const bool negative, const std::int64_t whole,
                            const std::int64_t numerator, const std::int64_t denominator) {
  return {negative, "",
          Term(whole, CalcOperator::Multiply, denominator) +
              std::string(OperatorSymbol(CalcOperator::Add)) + Digits(numerator),
          Digits(denominator)};
}

}  // namespace tavolen::working_terms
