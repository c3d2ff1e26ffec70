// What the fuzz targets share: a runtime that closes every message box at once
// and keeps what the window asked of it, and the checks that stop a run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/services.h"

namespace tavolen::fuzz {

class RecordingRuntime final : public Runtime {
 public:
  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override;
  void Unloaded() override { unloaded = true; }
  void ErrorLeftHandler(const RuntimeError& error, std::string_view handler) override;

  std::vector<std::string> prompts;
  std::vector<std::string> errors;
  bool unloaded = false;
};

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
