// Form1 on the Win32 API: one standard control per control of the window
// definition, placed in twips scaled to the monitor's DPI. The window draws
// the model and hands every key and click to the model's entry points; focus,
// tab order and the chosen options are the model's alone.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>

#include "win32/accessibility.h"
#include "win32/handles.h"
#include "win32/main_layout.h"
#include "win32/win32_runtime.h"
#include "win32/window_proc.h"
#include "win32/working_window.h"
#include "window/answer_menu.h"
#include "window/form1.h"

namespace tavolen {

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

  // Keys for the 途中式 window's controls; true when taken.
  bool TakeDialogMessage(MSG& message);

 private:
  using View = ControlView;
  static constexpr UINT_PTR kSubclassId = 1;
  // Posted when the system moved the focus by itself (the window was
  // activated): the focus goes back where the model has it once the system is done.
  static constexpr UINT kRestoreFocus = WM_APP + 1;

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
  void RunAnswerCommand(AnswerCommand command);
  WorkingWindow& Working();

  void Create(HINSTANCE instance);
  void BuildMenu();
  void BuildControls(HINSTANCE instance);
  HWND CreateControl(const ControlDef& def);
  void LayOut();
  void ShowControl(View& view, bool answerHidden);
  void ShowAnswerWords(bool hidden);
  void SetIcons(HINSTANCE instance);
  [[nodiscard]] View* ViewOf(HWND control);
  [[nodiscard]] View* ViewOf(ControlId id);

  // Runs a model entry point, then draws what it left.
  template <typename Action>
  void Dispatch(Action&& action, bool byTab = false) {
    std::forward<Action>(action)();
    Sync(byTab);
  }

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

}  // namespace tavolen
