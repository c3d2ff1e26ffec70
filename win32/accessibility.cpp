#include "win32/accessibility.h"

#include <array>
#include <string>

#include "win32/wide_text.h"

namespace tavolen {
namespace {

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

void AccessibleAnnotations::Clear(HWND control) const {
  if (service_ == nullptr) {
    return;
  }
  std::array<MSAAPROPID, 2> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
  service_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                           properties.data(), static_cast<int>(properties.size()));
}

}  // namespace tavolen
