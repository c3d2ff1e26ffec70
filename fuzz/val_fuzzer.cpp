// Arbitrary text read as a number: from an answer label, where Val sees the
// whole text, and from an entry field, which keeps what fits and is cleaned up
// when the focus leaves it. Val may raise a run-time error for a number too
// large for a Double, so it is reached through the window's own dispatch.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "arith/number.h"
#include "fuzz/support.h"
#include "runtime/services.h"
#include "window/form1.h"

namespace tavolen::fuzz {
namespace {

constexpr ControlId kField{ControlName::Text1, 0};
constexpr ControlId kAway{ControlName::Command1};
constexpr Integer kFieldIndex{0};

void CheckReadsBack(std::string_view cleaned) {
  if (!cleaned.empty()) {
    Check(TextOf(LongOf(Val(cleaned))) == cleaned, "a cleaned text reads back as itself", cleaned);
  }
}

// With no denominator on display the answer-form switch reads all three labels
// and then changes nothing.
void CheckLabelRead(std::string_view text) {
  RecordingRuntime runtime;
  Form1 form(runtime);
  form.Label1(Integer{2}).Caption = std::string(text);
  Check(form.Click({ControlName::Option2, 1}), "the answer form switches");
  Check(form.Label1(Integer{2}).Caption == text && form.Label1(Integer{1}).Caption.empty(),
        "an answer without a denominator stays as it is", text);
}

void CheckCleanUp(std::string_view text) {
  RecordingRuntime runtime;
  Form1 form(runtime);
  Check(form.MoveFocus(kField) && form.EditText(kField, text), "the field takes the edit");
  const std::string typed = form.Text1(kFieldIndex).Text;
  const std::string hint = form.Label7.Caption;
  Check(form.MoveFocus(kAway), "the focus leaves the field");
  const std::string cleaned = form.Text1(kFieldIndex).Text;
  if (runtime.errorsLeft != 0) {
    Check(cleaned == typed && form.Label7.Caption == hint,
          "a failed clean-up keeps the typed text and the hint", typed);
    return;
  }
  Check(IsCleanEntry(cleaned), "the clean-up leaves the digits of a whole number", cleaned);
  Check(form.Label7.Caption.empty(), "the clean-up empties the hint", form.Label7.Caption);
  CheckReadsBack(cleaned);
  Check(form.MoveFocus(kField) && form.MoveFocus(kAway), "the focus comes back and leaves");
  Check(runtime.errorsLeft == 0 && form.Text1(kFieldIndex).Text == cleaned,
        "a cleaned text is stable under the clean-up", cleaned);
}

}  // namespace
}  // namespace tavolen::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tavolen::fuzz::CheckLabelRead(text);
  tavolen::fuzz::CheckCleanUp(text);
  return 0;
}
