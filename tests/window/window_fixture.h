// A window on a runtime that records what the user would see besides the
// window itself, for tests that drive Form1 through its entry points.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/services.h"
#include "window/form1.h"

namespace tavolen::testing {

class RecordingRuntime final : public Runtime {
 public:
  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override {
    events.push_back("msgbox " + TextOf(style) + " " + title + ": " + prompt);
  }
  void Unloaded() override { events.emplace_back("unloaded"); }
  void ErrorLeftHandler(const RuntimeError& error, std::string_view handler) override {
    events.push_back("error " + error.name() + " in " + std::string(handler));
  }

  std::vector<std::string> events;
};

struct Window {
  RecordingRuntime runtime;
  Form1 form{runtime};

  // The texts of the six fields: first operand whole, numerator, denominator,
  // then the second's, set as the program would (no events).
  void Enter(const std::vector<std::string>& six) {
    for (std::int16_t i = 0; i < 3; ++i) {
      form.Text1(Integer{i}).Text = six.at(static_cast<std::size_t>(2 - i));
      form.Text2(Integer{i}).Text = six.at(static_cast<std::size_t>(5 - i));
    }
  }

  [[nodiscard]] std::vector<std::string> Answer() const {
    std::vector<std::string> labels;
    for (std::int16_t i = 0; i < 4; ++i) {
      labels.push_back(form.Label1(Integer{i}).Caption);
    }
    return labels;
  }
};

inline ControlId Id(std::string_view name) {
  return ParseControlName(name).value();
}

inline const std::string kErrorBox = "msgbox 16 エラーメッセージ: ";
inline const std::string kOverflowReport = kErrorBox + "数が大きすぎて計算できません。";

}  // namespace tavolen::testing
