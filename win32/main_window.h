// Form1 on the Win32 API: one standard control per control of the window
// definition, placed in twips scaled to the monitor's DPI. The window draws
// the model and hands every key and click to the model's entry points; focus,
// tab order and the chosen options are the model's alone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "win32/accessibility.h"
#include "win32/handles.h"
#include "win32/window_proc.h"
#include "win32/working_window.h"
#include "window/form1.h"

namespace tavolen {

class MainWindow;

// The runtime services on Win32: message boxes owned by the window, and the
// end of the program when the window is unloaded.
class Win32Runtime final : public Runtime {
 public:
  explicit Win32Runtime(MainWindow& window) : window_(window) {}
  void MsgBox(const std::string& prompt, Integer style, const std::string& title) override;
  void Unloaded() override;
  // The report itself follows as a message box; nothing more to do here.
  void ErrorLeftHandler(const RuntimeError& /*error*/, std::string_view /*handler*/) override {}

 private:
  MainWindow& window_;
};

class MainWindow {
 public:
  // Registers the window class and creates the window, hidden.
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow();

  [[nodiscard]] HWND handle() const { return window_; }

  // Brings every control, and the keyboard focus, up to date from the model;
  // a focus moved by Tab selects the text of the field it enters.
  void Sync(bool byTab = false);

  // Keys for the 途中式 window's buttons; true when taken.
  bool TakeDialogMessage(MSG& message);

 private:
  struct View {
    ControlId id;
    HWND control;
    FontHandle font;    // null for a bar
    FontHandle fitted;  // a long caption's or a narrow field's smaller font, else null
  };

  friend LRESULT CALLBACK ObjectWindowProc<MainWindow>(HWND window, UINT message, WPARAM wParam,
                                                       LPARAM lParam);
  static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclass, DWORD_PTR data);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Returns the result when the message is taken, nullopt to leave it to the control.
  std::optional<LRESULT> OnControlMessage(View& view, UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnKeyDown(const View& view, WPARAM key, LPARAM flags);
  std::optional<LRESULT> OnButtonMouse(const View& view, UINT message, LPARAM lParam);
  void OnCommand(WPARAM wParam, LPARAM lParam);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  bool OnContextMenu(LPARAM lParam);
  void OpenAnswerMenu(POINT at);

  void Create(HINSTANCE instance);
  void BuildMenu();
  void BuildControls(HINSTANCE instance);
  HWND CreateControl(const ControlDef& def, HINSTANCE instance);
  void Layout();
  void CreateFonts();
  void FitFieldFonts();
  void ShowControl(View& view);
  void ShowCaption(View& view, const std::string& caption);
  void ShowAnswerWords();
  void SetIcons(HINSTANCE instance);
  [[nodiscard]] View* ViewOf(HWND control);
  [[nodiscard]] View* ViewOf(ControlId id);
  [[nodiscard]] RECT PixelRect(int left, int top, int width, int height) const;
  // A pixel at 96 DPI at the window's DPI, never less than one.
  [[nodiscard]] int OnePixel() const;

  template <typename Action>
  void Dispatch(Action&& action, bool byTab = false);

  Win32Runtime runtime_;
  Form1 form_;
  HWND window_ = nullptr;
  HWND answerArea_ = nullptr;
  HWND tooltip_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  std::vector<View> views_;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
  AccessibleAnnotations annotations_;
  std::unique_ptr<WorkingWindow> working_;
  bool syncing_ = false;
  bool highContrast_ = false;
  bool answerDimmed_ = false;
};

// Runs the program: the window and its message loop until it is unloaded.
int RunWindowsProgram();

}  // namespace tavolen
