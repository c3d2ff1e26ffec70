// The model's properties behind each control, as a front end draws them.
#include <string>

#include "window/form1.h"

namespace tavolen {

const std::string* ModelText(const Form1& form, ControlId id) {
  const Integer index{id.index};
  switch (id.name) {
    case ControlName::Text1:
      return &form.Text1(index).Text;
    case ControlName::Text2:
      return &form.Text2(index).Text;
    case ControlName::Label1:
      return &form.Label1(index).Caption;
    case ControlName::Label3:
      return &form.Label3.Caption;
    case ControlName::Label4:
      return &form.Label4.Caption;
    case ControlName::Label7:
      return &form.Label7.Caption;
    default:
      return nullptr;
  }
}

const Line* ModelLine(const Form1& form, ControlId id) {
  switch (id.name) {
    case ControlName::Line1:
      return &form.Line1;
    case ControlName::Line2:
      return &form.Line2;
    case ControlName::Line3:
      return &form.Line3;
    default:
      return nullptr;
  }
}

const OptionGroup* ModelGroup(const Form1& form, ControlId id) {
  switch (id.name) {
    case ControlName::Option1:
      return &form.Option1;
    case ControlName::Option2:
      return &form.Option2;
    default:
      return nullptr;
  }
}

}  // namespace tavolen
