// A window on a runtime that records what the user would see besides the
// window itself, for tests that drive Form1 through its entry points.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/recording_runtime.h"
#include "window/form1.h"

namespace tavolen::testing {

inline ControlId Id(std::string_view name) {
  return ParseControlName(name).value();
}

struct Window {
  RecordingRuntime runtime;
  Form1 form{runtime};

  TextBox& Field(std::string_view name) {
    const ControlId id = Id(name);
    return id.name == ControlName::Text1 ? form.Text1(Integer{id.index})
                                         : form.Text2(Integer{id.index});
  }

  // "whole|numerator|denominator|whole|numerator|denominator" of the two
  // operands, set as the program would (no events).
  void Enter(std::string_view six) {
    for (const char* name :
         {"Text1(2)", "Text1(1)", "Text1(0)", "Text2(2)", "Text2(1)", "Text2(0)"}) {
      const std::size_t bar = std::min(six.find('|'), six.size());
      Field(name).Text = six.substr(0, bar);
      six.remove_prefix(std::min(bar + 1, six.size()));
    }
  }

  // Clicks the operator Option1(op) and the answer form Option2(answerForm).
  void Choose(std::int16_t op, std::int16_t answerForm) {
    form.Click(ControlId{ControlName::Option1, op});
    form.Click(ControlId{ControlName::Option2, answerForm});
  }

  // Label1(0..3), the denominator, numerator, whole part and sign, joined by "|".
  [[nodiscard]] std::string Answer() const {
    std::string labels = form.Label1(Integer{0}).Caption;
    for (std::int16_t i = 1; i < 4; ++i) {
      labels += "|" + form.Label1(Integer{i}).Caption;
    }
    return labels;
  }
};

inline const std::string kErrorBox = "msgbox 16 エラーメッセージ: ";
inline const std::string kOverflowReport = kErrorBox + "数が大きすぎて計算できません。";

inline std::vector<std::string> OverflowIn(const std::string& handler) {
  return {"error Overflow in " + handler, kOverflowReport};
}

}  // namespace tavolen::testing
