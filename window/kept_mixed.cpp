#include "window/kept_mixed.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <utility>

#include "window/working_terms.h"

namespace tavolen {
namespace {

using namespace working_terms;

// A mixed number kept whole; a whole number has numerator 0. Every value fits
// easily: parts are Long fields, and the common denominator of two Long
// denominators is below 2^62.
struct Part {
  std::int64_t whole = 0;
  std::int64_t numerator = 0;
  std::int64_t denominator = 0;
};

using Parts = std::array<Part, 2>;

bool IsWholeNumber(const Operand& o) {
  return o.Numerator.value == 0 && o.Denominator.value == 0;
}

bool HasProperFraction(const Operand& o) {
  return 0 < o.Numerator.value && o.Numerator.value < o.Denominator.value;
}

bool NotSmaller(const Part& a, const Part& b) {
  if (a.whole != b.whole) {
    return a.whole > b.whole;
  }
  return a.numerator * std::max<std::int64_t>(b.denominator, 1) >=
         b.numerator * std::max<std::int64_t>(a.denominator, 1);
}

std::optional<Parts> PartsOf(const Problem& problem) {
  if (problem.op != CalcOperator::Add && problem.op != CalcOperator::Subtract) {
    return std::nullopt;
  }
  bool mixed = false;
  Parts parts{};
  for (std::size_t i = 0; i < 2; ++i) {
    const Operand& o = i == 0 ? problem.first : problem.second;
    if (o.Whole.value < 0 || (!IsWholeNumber(o) && !HasProperFraction(o))) {
      return std::nullopt;
    }
    mixed = mixed || (o.Whole.value != 0 && HasProperFraction(o));
    parts.at(i) = {o.Whole.value, o.Numerator.value, o.Denominator.value};
  }
  if (!mixed || (problem.op == CalcOperator::Subtract && !NotSmaller(parts[0], parts[1]))) {
    return std::nullopt;
  }
  return parts;
}

WorkingNumber Written(const Part& p) {
  return MixedOf(p.whole, p.numerator, p.denominator);
}

// "W a/b" with terms for its fraction part, the whole part as it stands.
WorkingNumber WithFractionTerms(const std::int64_t whole, std::string numerator,
                                std::string denominator) {
  return {false, whole == 0 ? "" : Digits(whole), std::move(numerator), std::move(denominator)};
}

class Route {
 public:
  Route(const Parts& parts, const CalcOperator op) : parts_(parts), op_(op) {}

  std::vector<WorkingStep> Work(const bool improper) {
    Reduce();
    Widen();
    Borrow();
    Combine();
    Carry();
    ReduceResult();
    if (improper) {
      ToImproper();
    }
    return std::move(steps_);
  }

 private:
  void AddPair(const std::string_view name, WorkingNumber first, WorkingNumber second) {
    steps_.push_back({name, Written(parts_[0]), op_, Written(parts_[1]),
                      WorkingDetail{std::move(first), op_, std::move(second)}});
  }

  void AddOne(const std::string_view name, WorkingNumber how) {
    steps_.push_back({name,
                      MixedOf(whole_, fraction_, common_),
                      std::nullopt,
                      {},
                      WorkingDetail{std::move(how), std::nullopt, {}}});
  }

  void Reduce() {
    std::array<WorkingNumber, 2> how{};
    bool changed = false;
    for (std::size_t i = 0; i < 2; ++i) {
      Part& p = parts_.at(i);
      const std::int64_t g = std::gcd(p.numerator, p.denominator);
      how.at(i) = Written(p);
      if (p.numerator != 0 && g > 1) {
        how.at(i) = WithFractionTerms(p.whole, Term(p.numerator, CalcOperator::Divide, g),
                                      Term(p.denominator, CalcOperator::Divide, g));
        p = {p.whole, p.numerator / g, p.denominator / g};
        changed = true;
      }
    }
    if (changed) {
      AddPair("約分する", std::move(how[0]), std::move(how[1]));
    }
  }

  void Widen() {
    Part& a = parts_[0];
    Part& b = parts_[1];
    common_ = a.numerator == 0 ? b.denominator : a.denominator;
    if (a.numerator == 0 || b.numerator == 0 || a.denominator == b.denominator) {
      return;
    }
    common_ = std::lcm(a.denominator, b.denominator);
    std::array<WorkingNumber, 2> how{};
    for (std::size_t i = 0; i < 2; ++i) {
      Part& p = parts_.at(i);
      const std::int64_t m = common_ / p.denominator;
      how.at(i) = m == 1 ? Written(p)
                         : WithFractionTerms(p.whole, Term(p.numerator, CalcOperator::Multiply, m),
                                             Term(p.denominator, CalcOperator::Multiply, m));
      p = {p.whole, p.numerator * m, common_};
    }
    AddPair("通分する", std::move(how[0]), std::move(how[1]));
  }

  void Borrow() {
    Part& a = parts_[0];
    const Part& b = parts_[1];
    if (op_ != CalcOperator::Subtract || b.numerator == 0 || a.numerator >= b.numerator) {
      return;
    }
    // The first is not smaller and its fraction part is, so its whole part is at least 1.
    const std::int64_t before = a.numerator;
    a = {a.whole - 1, common_ + before, common_};
    WorkingNumber how =
        WithFractionTerms(a.whole, Term(common_, CalcOperator::Add, before), Digits(common_));
    steps_.push_back({"くり下げる", Written(a), op_, Written(b),
                      before > 0 ? std::optional(WorkingDetail{std::move(how), op_, Written(b)})
                                 : std::nullopt});
  }

  // The whole parts that are not 0, and the fraction numerators there are,
  // each joined by the operator.
  [[nodiscard]] std::string Joined(const std::int64_t Part::*member) const {
    const std::int64_t x = parts_[0].*member;
    const std::int64_t y = parts_[1].*member;
    if (x != 0 && y != 0) {
      return Term(x, op_, y);
    }
    return x != 0 ? Digits(x) : (y != 0 ? Digits(y) : "");
  }

  void Combine() {
    const bool add = op_ == CalcOperator::Add;
    const Part& a = parts_[0];
    const Part& b = parts_[1];
    whole_ = add ? a.whole + b.whole : a.whole - b.whole;
    fraction_ = add ? a.numerator + b.numerator : a.numerator - b.numerator;
    AddOne(add ? "整数どうし、分数どうしをたす" : "整数どうし、分数どうしをひく",
           WithTerms(false, Joined(&Part::whole), Joined(&Part::numerator), Digits(common_)));
  }

  void Carry() {
    if (op_ != CalcOperator::Add || fraction_ < common_) {
      return;
    }
    const std::string whole = Term(whole_, CalcOperator::Add, 1);
    ++whole_;
    fraction_ -= common_;
    AddOne("くり上げる", fraction_ == 0
                             ? WithTerms(false, whole, "", "")
                             : WithTerms(false, whole, Digits(fraction_), Digits(common_)));
  }

  void ReduceResult() {
    const std::int64_t g = std::gcd(fraction_, common_);
    if (fraction_ == 0 || g == 1) {
      return;
    }
    WorkingNumber how = WithFractionTerms(whole_, Term(fraction_, CalcOperator::Divide, g),
                                          Term(common_, CalcOperator::Divide, g));
    fraction_ /= g;
    common_ /= g;
    AddOne("約分する", std::move(how));
  }

  void ToImproper() {
    if (whole_ == 0 || fraction_ == 0) {
      return;
    }
    steps_.push_back(
        {"仮分数に直す",
         NumberOf({whole_ * common_ + fraction_, common_}),
         std::nullopt,
         {},
         WorkingDetail{ImproperTerms(false, whole_, fraction_, common_), std::nullopt, {}}});
  }

  Parts parts_;
  CalcOperator op_;
  std::int64_t common_ = 1;  // the denominator the fraction parts are over
  std::int64_t whole_ = 0;
  std::int64_t fraction_ = 0;
  std::vector<WorkingStep> steps_;
};

}  // namespace

std::vector<WorkingStep> KeptMixedSteps(const Problem& problem, const bool improper) {
  const std::optional<Parts> parts = PartsOf(problem);
  if (!parts) {
    return {};
  }
  return Route(*parts, problem.op).Work(improper);
}

}  // namespace tavolen
