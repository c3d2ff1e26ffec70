#include "window/state_json.h"

#include <cstdint>
#include <string>

#include "window/controls.h"

namespace tavolen {

namespace {

std::string KeyOf(const ControlName name) {
  return DisplayName(ControlId{name});
}

// The texts of a control array's members, by Index.
std::string TextsOf(const Form1& form, const ControlName name, const std::int16_t count) {
  Json texts = Json::Array();
  for (std::int16_t i = 0; i < count; ++i) {
    texts.TextElement(*ModelText(form, ControlId{name, i}));
  }
  return texts.Close();
}

}  // namespace

Json StateJson(const Form1& form) {
  using enum ControlName;
  Json state = Json::Object();
  state.Raw(KeyOf(Text1), TextsOf(form, Text1, 3))
      .Raw(KeyOf(Text2), TextsOf(form, Text2, 3))
      .Raw(KeyOf(Label1), TextsOf(form, Label1, 4))
      .Text(KeyOf(Label3), form.Label3.Caption)
      .Text(KeyOf(Label7), form.Label7.Caption)
      .Flag(KeyOf(Line3), form.Line3.Visible)
      .Number(KeyOf(Option1), form.Option1.Chosen())
      .Number(KeyOf(Option2), form.Option2.Chosen())
      .Text("focus", DisplayName(form.Focus()));
  return state;
}

}  // namespace tavolen
