#include <gtest/gtest.h>

#include "window/controls.h"

namespace tavolen {
namespace {

TEST(ControlNames, EveryDefinedControlRoundTripsAndNothingElseIsAName) {
  std::vector<ControlId> ids;
  for (const ControlDef& def : ControlDefinitions()) {
    ids.push_back(def.id);
  }
  for (const LineDef& def : LineDefinitions()) {
    ids.push_back(def.id);
  }
  for (const MenuDef& def : MenuDefinitions()) {
    ids.push_back(def.id);
  }
  for (const ControlId id : ids) {
    EXPECT_EQ(ParseControlName(DisplayName(id)), id) << DisplayName(id);
  }
  for (const char* text : {"Text1", "Text1(3)", "Text1(00)", "Text1(-1)", "text1(0)", "Command1(0)",
                           "Command1 ", "Option2(2)", "Form1", ""}) {
    EXPECT_EQ(ParseControlName(text), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace tavolen
