#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

struct CleanUpCase {
  const char* name;
  const char* text;
  const char* cleaned;
  bool overflow;
};

// The golden cleanup script holds the ordinary texts; these are the limits.
const CleanUpCase kCleanUps[] = {
    {"LongestNegative", "-2147483647", "2147483647", false},
    {"BeyondLong", "2147483648", "2147483648", true},
    {"AbsOfMostNegative", "-2147483648", "-2147483648", true},
};

TEST(CleanUp, LeavingTheFieldCleansIt) {
  for (const CleanUpCase& c : kCleanUps) {
    for (const std::string field : {"Text1(0)", "Text2(2)"}) {
      Window w;
      w.form.MoveFocus(Id(field));
      w.Field(field).Text = c.text;
      SCOPED_TRACE(c.name + (" in " + field));
      w.form.Click(Id("Option1(3)"));
      EXPECT_EQ(w.Field(field).Text, c.cleaned);
      EXPECT_EQ(w.runtime.events, c.overflow ? OverflowIn(field.substr(0, 5) + "_LostFocus")
                                             : std::vector<std::string>{});
      // A failed clean-up leaves the hint shown, and the click goes on.
      EXPECT_EQ(w.form.Label7.Caption.empty(), !c.overflow);
      EXPECT_EQ(w.form.Focus(), Id("Option1(3)"));
      EXPECT_EQ(w.form.Label3.Caption, "÷");
    }
  }
}

// The window tests type into each field and read its name; the golden
// field_limits script counts typed characters. An edit is cut off as well.
TEST(EntryFields, EditIsCutOffAtTheLimit) {
  Window w;
  EXPECT_TRUE(w.form.EditText(Id("Text1(0)"), "56789"));
  EXPECT_EQ(w.Field("Text1(0)").Text, "5678");
}

}  // namespace
}  // namespace tavolen::testing
