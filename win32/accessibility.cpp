#include "win32/accessibility.h"

#include <array>
#include <string>

#include "win32/wide_text.h"

namespace tavolen {
namespace {

// The live-region setting of the system's automation properties, and its
// value for a change read out once the reader is free.
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;

void Annotate(IAccPropServices* service, HWND control, const MSAAPROPID& property,
              std::string_view text) {
  if (service == nullptr) {
    return;
  }
  std::wstring wide = WideOf(text);
  service->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                          wide.data());
}

}  // namespace

AccessibleAnnotations::AccessibleAnnotations() {
  void* service = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_IAccPropServices, &service))) {
    service_ = static_cast<IAccPropServices*>(service);
  }
}

AccessibleAnnotations::~AccessibleAnnotations() {
  if (service_ != nullptr) {
    service_->Release();
  }
}

void AccessibleAnnotations::SetName(HWND control, std::string_view name) const {
  Annotate(service_, control, PROPID_ACC_NAME, name);
}

void AccessibleAnnotations::SetDescription(HWND control, std::string_view description) const {
  Annotate(service_, control, PROPID_ACC_DESCRIPTION, description);
}

void AccessibleAnnotations::SetLiveRegion(HWND control) const {
  if (service_ == nullptr) {
    return;
  }
  VARIANT polite{};
  polite.vt = VT_I4;
  polite.lVal = kPolite;
  service_->SetHwndProp(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                        kLiveSettingProperty, polite);
}

void AccessibleAnnotations::Clear(HWND control) const {
  if (service_ == nullptr) {
    return;
  }
  std::array<MSAAPROPID, 3> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION,
                                       kLiveSettingProperty};
  service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                           properties.data(), static_cast<int>(properties.size()));
}

}  // namespace tavolen
