// Costs of the window model: one Calculate click with six filled fields
// (including the answer-form handler it calls and the working it keeps), what
// keeping the working adds to it, writing the working out, and a replayed
// session.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "arith/working.h"
#include "replay/replay.h"
#include "window/form1.h"
#include "window/handlers.h"
#include "window/working.h"

namespace tavolen {
namespace {

class SilentRuntime final : public Runtime {
 public:
  void MsgBox(const std::string&, Integer, const std::string&) override {}
  void Unloaded() override {}
};

void Fill(Form1& form, const char* const (&six)[6]) {
  for (std::int16_t i = 0; i < 3; ++i) {
    form.Text1(Integer{i}).Text = six[i];
    form.Text2(Integer{i}).Text = six[3 + i];
  }
}

void CalculateClick(benchmark::State& state, std::int16_t op, const char* const (&six)[6]) {
  SilentRuntime runtime;
  Form1 form(runtime);
  Fill(form, six);
  form.Click(ControlId{ControlName::Option1, op});
  for (auto _ : state) {
    Command1_Click(form);
    benchmark::DoNotOptimize(form.Label1(Integer{1}).Caption.data());
  }
}

// Denominator, numerator, whole part of each operand: 12 345/678 and 9 876/543.
constexpr const char* kFields[6] = {"678", "345", "12", "543", "876", "9"};

void Command1ClickAdd(benchmark::State& state) {
  CalculateClick(state, 0, kFields);
}
void Command1ClickDivide(benchmark::State& state) {
  CalculateClick(state, 3, kFields);
}
BENCHMARK(Command1ClickAdd);
BENCHMARK(Command1ClickDivide);

// The working's share of a click: the calls a division makes on it, with the
// numbers of 12 345/678 ÷ 9 876/543.
void WorkingOfOneDivision(benchmark::State& state) {
  const Operand first{Long{678}, Long{345}, Long{12}, Long{8481}};
  const Operand second{Long{543}, Long{876}, Long{9}, Long{5763}};
  const Operand reduced1{Long{226}, Long{345}, Long{12}, Long{2827}};
  const Operand reduced2{Long{181}, Long{876}, Long{9}, Long{1921}};
  const CalcResult result{Currency::Whole(511687), Currency::Whole(434146)};
  Working working;
  for (auto _ : state) {
    working.Start();
    working.Read({first, CalcOperator::Divide, second});
    working.Normalised(first, second);
    working.Reduced(reduced1, reduced2);
    working.Reciprocal();
    working.Cancelled(reduced1, reduced2);
    working.Calculated(result);
    working.Finished(false, FractionAnswer{result.ResultNumerator, result.ResultDenominator});
    benchmark::DoNotOptimize(working.steps().data());
  }
}
BENCHMARK(WorkingOfOneDivision);

// Writing the working out as the copy text, which only showing it costs.
void WorkingPlainText(benchmark::State& state) {
  SilentRuntime runtime;
  Form1 form(runtime);
  Fill(form, kFields);
  form.Click(ControlId{ControlName::Option1, 3});
  Command1_Click(form);
  for (auto _ : state) {
    benchmark::DoNotOptimize(PlainText(WorkingOf(form)).data());
  }
}
BENCHMARK(WorkingPlainText);

void ReplaySession(benchmark::State& state) {
  std::string script;
  for (int i = 0; i < 100; ++i) {
    script +=
        "focus Text1(2)\ntype 12\nkey Tab\ntype 345\nkey Tab\ntype 678\nkey Tab\ntype 9\n"
        "key Tab\ntype 876\nkey Tab\ntype 543\nclick Command1\nstate\nclick Command2\n";
  }
  for (auto _ : state) {
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    benchmark::DoNotOptimize(RunReplay(in, out, err));
  }
  state.SetItemsProcessed(state.iterations() * 1400);
}
BENCHMARK(ReplaySession);

}  // namespace
}  // namespace tavolen

BENCHMARK_MAIN();
