// The pieces the working's lines are made of: numbers as the working writes
// them and terms of whole numbers ("1×2＋1", "(3÷3)×2"), shared by the usual
// route and the one that keeps mixed numbers whole.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "arith/fraction.h"
#include "arith/working.h"
#include "window/working.h"

namespace tavolen::working_terms {

[[nodiscard]] std::string Digits(std::uint64_t value);
[[nodiscard]] std::uint64_t Magnitude(std::int64_t value);
[[nodiscard]] std::string Digits(std::int64_t value);

// Whether a term is more than one whole number, and so stands in parentheses
// inside a fraction.
[[nodiscard]] bool IsCompound(std::string_view term);

// A fraction whose numerator is 0 is written 0, one over 1 as its whole number.
[[nodiscard]] WorkingNumber NumberOf(const StepFraction& f);

// "9＋14", "1×2": two whole numbers joined by the window's own sign.
[[nodiscard]] std::string Term(std::int64_t a, CalcOperator op, std::int64_t b);

// A whole part that is a compound term takes parentheses before a fraction
// part or after a sign, so that it reads as one number: "(1＋2) 17/12", "-(5－3)".
[[nodiscard]] WorkingNumber WithTerms(bool negative, std::string whole, std::string numerator,
                                      std::string denominator);

// W N/D with the working's rules for zeros: a fraction part of 0 leaves the
// whole number, a whole part of 0 the fraction, both give 0. The fraction
// part may be 1 or more ("3 17/12").
[[nodiscard]] WorkingNumber MixedOf(std::int64_t whole, std::int64_t numerator,
                                    std::int64_t denominator);

// (W×D＋N)/D, after the sign: how a mixed number becomes one fraction.
[[nodiscard]] WorkingNumber ImproperTerms(bool negative, std::int64_t whole, std::int64_t numerator,
                                          std::int64_t denominator);

}  // namespace tavolen::working_terms
