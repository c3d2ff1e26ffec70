// The runtime services on Win32: message boxes owned by the window, and the
// end of the program when the window is unloaded.
#pragma once

#include <string>
#include <string_view>

#include <windows.h>

#include "runtime/services.h"

namespace tavolen {

class MainWindow;

// Posted by the Unload service: the window is destroyed once the running event is over.
inline constexpr UINT kUnloadedMessage = WM_APP + 2;

class Win32Runtime final : public Runtime {
 public:
  explicit Win32Runtime(MainWindow& window) : window_(window) {}
  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override;
  void Unloaded() override;
  // The report itself follows as a message box; nothing more to do here.

 private:
  MainWindow& window_;
};

// What the program needs before its window: the annotation service's COM
// apartment and the common controls; the apartment ends with it.
class Win32Program {
 public:
  Win32Program();
  Win32Program(const Win32Program&) = delete;
  Win32Program& operator=(const Win32Program&) = delete;
  ~Win32Program();
  [[nodiscard]] static HINSTANCE Instance();

 private:
  bool com_ = false;
};

}  // namespace tavolen
