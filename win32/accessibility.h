// Names and descriptions for assistive technology on the standard controls,
// through the system's annotation service: an entry field has no visible
// label, and an option button's caption is a bare symbol.
#pragma once

#include <string_view>

#include <windows.h>

#include <oleacc.h>

namespace tavolen {

class AccessibleAnnotations {
 public:
  AccessibleAnnotations();
  AccessibleAnnotations(const AccessibleAnnotations&) = delete;
  AccessibleAnnotations& operator=(const AccessibleAnnotations&) = delete;
  ~AccessibleAnnotations();

  void SetName(HWND control, std::string_view name) const;
  void SetDescription(HWND control, std::string_view description) const;
  // Marks a control whose change is read out, politely, when it says so.
  void SetLiveRegion(HWND control) const;
  void Clear(HWND control) const;

 private:
  // Null where the system has no annotation service: the controls then keep
  // the names the system gives them.
  IAccPropServices* service_ = nullptr;
};

}  // namespace tavolen
