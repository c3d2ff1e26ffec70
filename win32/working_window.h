// The working (途中式) in a window of its own, owned by the main window and
// placed beside it: a line per step with its fractions stacked and its name
// after it, the details (くわしく) in lighter lines of their own, the lines
// one at a time on request (1行ずつ, 次の行, すべて表示), each line named in
// words for screen readers, and a button that copies what is shown.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "win32/accessibility.h"
#include "win32/handles.h"
#include "win32/window_proc.h"
#include "window/working.h"
#include "window/working_view.h"

namespace tavolen {

// Puts text on the clipboard as Unicode text, its lines ending in CR LF.
void CopyToClipboard(HWND owner, std::string_view text);

class WorkingWindow {
 public:
  // Creates the window, hidden.
  WorkingWindow(HWND owner, const AccessibleAnnotations& annotations);
  WorkingWindow(const WorkingWindow&) = delete;
  WorkingWindow& operator=(const WorkingWindow&) = delete;
  ~WorkingWindow();

  [[nodiscard]] bool IsOpen() const;
  // Whether くわしく is chosen, so that a copy from elsewhere has the details too.
  [[nodiscard]] bool ShowsDetails() const { return view_.details(); }
  // Shows this working and brings the window up beside its owner.
  void Open(const WorkingLines& working, bool dimmed);
  // Shows this working in place of the one shown before, drawn grey while the
  // inputs no longer match it.
  void Show(const WorkingLines& working, bool dimmed);
  // Tab, Enter, Space and Escape among the window's buttons; true when taken.
  bool TakeDialogMessage(MSG& message);

 private:
  friend LRESULT CALLBACK ObjectWindowProc<WorkingWindow>(HWND window, UINT message, WPARAM wParam,
                                                          LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Create(HWND owner);
  HWND AddButton(int id, std::string_view caption, DWORD style);
  // Brings the lines and buttons up to date from the view, and has the lines
  // that were revealed read out.
  void Refresh();
  void AnnounceRevealed() const;
  void RebuildLines();
  void NameLines() const;
  void ClearLines();
  void AddLine(const std::string& words, bool drawn);
  void Layout();
  void PlaceBesideOwner();
  void DrawLine(const DRAWITEMSTRUCT& item) const;
  void Close();
  [[nodiscard]] int Scaled(int pixels) const;

  const AccessibleAnnotations& annotations_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HWND copy_ = nullptr;
  HWND details_ = nullptr;
  HWND oneLine_ = nullptr;
  HWND nextLine_ = nullptr;
  HWND showAll_ = nullptr;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  FontHandle font_;
  WorkingView view_;
  // One control per line of the view, or one for the text shown before a working.
  std::vector<HWND> lines_;
  std::string built_;  // the view's text when the lines were made
  int nameColumn_ = 0;
  bool dimmed_ = false;
};

}  // namespace tavolen
