// The working (途中式) in a window of its own, owned by the main window and
// placed beside it: a line per step with its fractions stacked and its name
// after it, each line named in words for screen readers, and a button that
// copies what is shown as plain text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "win32/accessibility.h"
#include "win32/handles.h"
#include "window/working.h"

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
  // Shows this working and brings the window up beside its owner.
  void Open(const WorkingLines& working);
  // Shows this working in place of the one shown before.
  void Show(const WorkingLines& working);
  // Tab, Enter, Space and Escape among the window's buttons; true when taken.
  bool TakeDialogMessage(MSG& message);

 private:
  struct Line {
    HWND control;
    std::optional<WorkingStep> step;  // none for a line of plain text
    std::wstring text;                // the plain text, else empty
    bool first;
  };

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  void Create(HWND owner);
  void ClearLines();
  void AddLine(std::optional<WorkingStep> step, const std::string& words);
  void Layout();
  void PlaceBesideOwner();
  void DrawLine(const DRAWITEMSTRUCT& item) const;
  void Close();
  [[nodiscard]] int Scaled(int pixels) const;

  const AccessibleAnnotations& annotations_;
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
  HWND copy_ = nullptr;
  HWND lastFocus_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  FontHandle font_;
  std::vector<Line> lines_;
  int nameColumn_ = 0;
  std::string shown_;
};

}  // namespace tavolen
