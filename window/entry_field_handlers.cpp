#include "window/form1.h"
#include "window/handlers.h"

namespace tavolen {

namespace {

using FieldArray = TextBox& (Form1::*)(Integer);

void ShowHint(Form1& form, Integer index) {
  if (index.value >= 0 && index.value < 3) {
    form.Label7.Caption = FieldRole(index.value);
  }
}

// Leaves the field empty or holding the digits of a non-negative whole number.
// On Overflow the text stays as typed and the hint stays shown.
void CleanField(Form1& form, FieldArray array, Integer index) {
  TextBox& field = (form.*array)(index);
  if (field.Text == "-") {
    field.Text.clear();
  } else {
    const Long v = LongOf(Val(field.Text));
    if (!field.Text.empty()) {
      field.Text = TextOf(Abs(v));
    }
  }
  form.Label7.Caption.clear();
}

}  // namespace

void Text1_GotFocus(Form1& form, Integer index) {
  ShowHint(form, index);
}
void Text2_GotFocus(Form1& form, Integer index) {
  ShowHint(form, index);
}

void Text1_LostFocus(Form1& form, Integer index) {
  CleanField(form, static_cast<FieldArray>(&Form1::Text1), index);
}

void Text2_LostFocus(Form1& form, Integer index) {
  CleanField(form, static_cast<FieldArray>(&Form1::Text2), index);
}

}  // namespace tavolen
