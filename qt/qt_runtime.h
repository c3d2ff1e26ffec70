// The runtime services on Qt: message boxes over the window and the end of the
// program when the window is unloaded.
#pragma once

#include <string>
#include <string_view>

#include "runtime/services.h"

namespace tavolen {

class MainWindow;

class QtRuntime final : public Runtime {
 public:
  explicit QtRuntime(MainWindow& window) : window_(window) {}

  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override;
  void Unloaded() override;

 private:
  MainWindow& window_;
};

}  // namespace tavolen
