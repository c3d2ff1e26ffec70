// The working (途中式) in a window of its own, owned by the main window and
// placed beside it: a line per step with its fractions stacked and its name
// after it, the details (くわしく) in lighter lines of their own, the lines
// one at a time on request (1行ずつ, 次の行, すべて表示), mixed numbers kept
// whole on request (帯分数のまま), each line named in words for screen
// readers, a button that copies what is shown, and the 答え合わせ part.
#pragma once

#include <memory>
#include <string_view>

#include <windows.h>

#include "win32/accessibility.h"
#include "win32/answer_check_part.h"
#include "win32/handles.h"
#include "win32/window_proc.h"
#include "win32/working_lines_part.h"
#include "window/form1.h"
#include "window/working_view.h"

namespace tavolen {

// Posted to the owner when the window's choices changed what it shows, or it
// was closed: the answer area follows whether the answer is hidden.
inline constexpr UINT kWorkingChangedMessage = WM_APP + 3;

class WorkingWindow {
 public:
  // Creates the window, hidden, showing the form's working.
  WorkingWindow(HWND owner, const Form1& form, const AccessibleAnnotations& annotations);
  WorkingWindow(const WorkingWindow&) = delete;
  WorkingWindow& operator=(const WorkingWindow&) = delete;
  ~WorkingWindow();

  [[nodiscard]] bool IsOpen() const;
  // The choices, for what a copy from elsewhere copies, and whether the answer is hidden.
  [[nodiscard]] const WorkingView& view() const { return view_; }
  // Brings the window up beside its owner.
  void Open();
  // Opens it with the focus in 自分の答え.
  void OpenToCheck();
  // After every event of the main window: the working, drawn grey while the
  // inputs no longer match it, and the 答え合わせ part's problem.
  void Follow();
  // Tab, Enter, Space and Escape among the window's controls; true when taken.
  bool TakeDialogMessage(MSG& message);

 private:
  friend LRESULT CALLBACK ObjectWindowProc<WorkingWindow>(HWND window, UINT message, WPARAM wParam,
                                                          LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnEnter();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Create(HWND owner);
  HWND AddButton(int id, std::string_view caption, DWORD style);
  // Brings the lines and buttons up to date from the view, and has the lines
  // that were revealed read out.
  void Refresh();
  void SetFonts() const;
  void Layout();
  void PlaceBesideOwner();
  void Close();
  [[nodiscard]] int Scaled(int pixels) const;

  const Form1& form_;
  const AccessibleAnnotations& annotations_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HWND details_ = nullptr;
  HWND oneLine_ = nullptr;
  HWND keepMixed_ = nullptr;
  HWND copy_ = nullptr;
  HWND nextLine_ = nullptr;
  HWND showAll_ = nullptr;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  FontHandle font_;
  WorkingView view_;
  std::unique_ptr<WorkingLinesPart> lines_;
  std::unique_ptr<AnswerCheckPart> check_;
};

}  // namespace tavolen
