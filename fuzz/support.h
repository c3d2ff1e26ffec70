// What the fuzz targets share: the tests' recording runtime and the checks
// that stop a run.
#pragma once

#include <string_view>

#include "tests/support/recording_runtime.h"

namespace tavolen::fuzz {

// Every message box closed at once; the fuzz targets read its prompts and
// whether a run-time error was left unhandled.
using testing::RecordingRuntime;

// Aborts with a message, so that libFuzzer keeps the input that broke a rule.
[[noreturn]] void Fail(std::string_view what, std::string_view detail = {});

inline void Check(bool holds, std::string_view what, std::string_view detail = {}) {
  if (!holds) {
    Fail(what, detail);
  }
}

// True for the text a field holds after a successful clean-up: empty, or the
// decimal digits of a non-negative whole number without leading zeros.
[[nodiscard]] bool IsCleanEntry(std::string_view text);

}  // namespace tavolen::fuzz
