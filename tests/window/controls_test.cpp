#include <algorithm>

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

TEST(BesideOwner, OnTheRightUnlessTheScreenEndsThereAndTheLeftHasRoom) {
  struct Row {
    int ownerLeft;
    int screenRight;
    int left;
  };
  // An owner 200 wide on a screen from 0, a window 150 wide, 8 apart.
  for (const auto& [ownerLeft, screenRight, left] :
       {Row{100, 458, 308}, Row{400, 757, 242}, Row{100, 457, 308}}) {
    SCOPED_TRACE(screenRight);
    EXPECT_EQ(BesideOwnerLeft(ownerLeft, ownerLeft + 200, 150, 8, 0, screenRight), left);
  }
}

// Every front end takes the answer area from here: all the labels and the
// whole bar, which reaches further right than the labels.
TEST(AnswerArea, HoldsTheLabelsAndTheWholeBar) {
  const TwipsRect area = AnswerAreaTwips();
  const auto holds = [&area](const TwipsRect part) {
    return part.left >= area.left && part.top >= area.top && part.right <= area.right &&
           part.bottom <= area.bottom;
  };
  for (const ControlDef& def : ControlDefinitions()) {
    if (def.id.name == ControlName::Label1) {
      EXPECT_TRUE(holds({def.left, def.top, def.left + def.width, def.top + def.height}));
    }
  }
  const LineDef& bar = *std::ranges::find(LineDefinitions(), ControlName::Line3,
                                          [](const LineDef& def) { return def.id.name; });
  EXPECT_TRUE(holds({bar.x1, bar.y1, bar.x2, bar.y2 + kTwipsPerPixel}));
}

}  // namespace
}  // namespace tavolen
