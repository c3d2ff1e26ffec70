// A runtime that closes every message box at once and records what the user
// would have seen besides the window: what the window tests compare and the
// fuzz targets check.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/services.h"

namespace tavolen::testing {

class RecordingRuntime final : public Runtime {
 public:
  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override {
    events.push_back("msgbox " + TextOf(style) + " " + title + ": " + prompt);
    prompts.push_back(prompt);
  }
  void Unloaded() override { events.emplace_back("unloaded"); }
  void ErrorLeftHandler(const RuntimeError& error, std::string_view handler) override {
    events.push_back("error " + error.name() + " in " + std::string(handler));
    ++errorsLeft;
  }

  // In order: "msgbox STYLE TITLE: PROMPT", "unloaded", "error NAME in HANDLER".
  std::vector<std::string> events;
  // The message boxes' prompts alone, and how many errors no handler took.
  std::vector<std::string> prompts;
  int errorsLeft = 0;
};

}  // namespace tavolen::testing
