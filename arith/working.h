// The working (途中式) of one calculation: the steps it took, each kept with
// the numbers that the calculation held when the step was done. The
// calculation feeds it as it goes, so a run-time error leaves exactly the steps
// completed before it; whoever reports the error adds the stop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "arith/fraction.h"

namespace tavolen {

enum class StepName : std::uint8_t {
  ToImproperFraction,  // 仮分数に直す
  ReduceOperands,      // 約分する
  CommonDenominator,   // 通分する
  Reciprocal,          // 逆数をかける
  Multiplied,          // 分母どうし、分子どうしをかける
  CancelledInProduct,  // 約分する, before multiplying
  Calculate,           // 計算する, 分子どうしをたす, 分子どうしをひく
  ReduceResult,        // 約分する
};

// A number as numerator over denominator, unreduced, as the calculation holds
// it. Every value the calculation reaches fits: Long slots, whole Currency
// values, and the Double products of a common denominator (at most 2^62).
struct StepFraction {
  std::int64_t numerator = 0;
  std::int64_t denominator = 1;
  friend constexpr bool operator==(StepFraction, StepFraction) = default;
};

struct Step {
  StepName name;
  StepFraction left;
  std::optional<StepFraction> right;  // with op between; none for a single number
  CalcOperator op = CalcOperator::NoOperator;
  // The numbers the step works on, which show how it comes about: the operands
  // before it (for Calculate, over the common denominator for ＋ －, and as
  // multiplied for × ÷), or the unreduced result for ReduceResult. For the
  // product steps left and right are the two factors, numerator over
  // denominator, as they are multiplied.
  std::array<StepFraction, 2> from{};
};

// The operands as the calculation read them from the fields, before any step.
struct Problem {
  Operand first;
  CalcOperator op;
  Operand second;
};

class Working {
 public:
  // Before the first calculation: nothing, and nothing is recorded.
  void Clear();
  // A calculation begins: nothing yet, and its steps are recorded as they come.
  void Start();

  // The calculation's steps, in its order. Each adds its step when the step
  // changed something (or always, for those that always appear), and does
  // nothing once the working is stopped or finished.
  void Read(const Problem& problem);
  void Normalised(const Operand& first, const Operand& second);
  void Reduced(const Operand& first, const Operand& second);
  void CommonDenominator(Double first, Double second, Currency common);
  void Reciprocal();
  void Cancelled(const Operand& first, const Operand& second);
  void Calculated(const CalcResult& result);
  void Finished(bool negative, const Answer& answer);

  // The calculation ended early with a message; nothing after it is recorded.
  void Stop(std::string_view prompt);

  [[nodiscard]] const std::optional<Problem>& problem() const { return problem_; }
  // The steps after the problem.
  [[nodiscard]] std::span<const Step> steps() const { return {steps_.data(), count_}; }
  [[nodiscard]] const std::optional<std::string>& stop() const { return stop_; }
  // The answer, signed and in lowest terms, once the calculation has finished.
  [[nodiscard]] const std::optional<StepFraction>& answer() const { return answer_; }
  // Changes with each Start() and Clear(), so a view can tell a new working.
  [[nodiscard]] std::uint64_t calculation() const { return calculation_; }

 private:
  void Add(const Step& step);
  [[nodiscard]] StepFraction Shown(std::size_t operand) const;
  [[nodiscard]] StepFraction Multiplier() const;

  static constexpr std::size_t kMostSteps = 7;
  std::optional<Problem> problem_;
  std::array<Step, kMostSteps> steps_{};
  std::size_t count_ = 0;
  // Denominator and improper numerator of each operand as the calculation
  // holds them now.
  std::array<StepFraction, 2> operands_{};
  // Both numerators over the common denominator, for ＋ and －.
  std::array<StepFraction, 2> overCommon_{};
  StepFraction calculated_;
  std::optional<std::string> stop_;
  std::optional<StepFraction> answer_;
  bool open_ = false;
  std::uint64_t calculation_ = 0;
};

}  // namespace tavolen
