#include <gtest/gtest.h>

#include <set>

#include "window/controls.h"

namespace tavolen {
namespace {

TEST(ControlNames, EveryDefinedControlRoundTrips) {
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
  EXPECT_EQ(ids.size(), 29U);
  for (const ControlId id : ids) {
    EXPECT_EQ(ParseControlName(DisplayName(id)), id) << DisplayName(id);
  }
}

TEST(ControlNames, OnlyTheWrittenFormIsAName) {
  for (const char* text : {"Text1", "Text1(3)", "Text1(00)", "Text1(-1)", "text1(0)", "Command1(0)",
                           "Command1 ", "Option2(2)", "Form1", ""}) {
    EXPECT_EQ(ParseControlName(text), std::nullopt) << text;
  }
}

TEST(ControlDefinitions, TabIndexesAreDistinctAndOptionsSitInTheirFrames) {
  std::set<int> tabIndexes;
  for (const ControlDef& def : ControlDefinitions()) {
    EXPECT_TRUE(tabIndexes.insert(def.tabIndex).second) << DisplayName(def.id);
    EXPECT_TRUE(def.left % 15 == 0 && def.top % 15 == 0 && def.height % 15 == 0 &&
                (def.width % 15 == 0 || def.width == 520))
        << DisplayName(def.id);
    if (def.type == ControlType::OptionButton) {
      const ControlDef& frame = DefinitionOf(ControlId{def.container.value()});
      EXPECT_LE(def.left + def.width, frame.width) << DisplayName(def.id);
      EXPECT_LE(def.top + def.height, frame.height) << DisplayName(def.id);
    }
  }
  EXPECT_EQ(tabIndexes.size(), 24U);
  EXPECT_EQ(*tabIndexes.rbegin(), 23);
}

}  // namespace
}  // namespace tavolen
