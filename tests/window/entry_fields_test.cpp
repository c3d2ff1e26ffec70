#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"
#include "window/accessible_text.h"

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

TEST(EntryFields, EachFieldKeepsItsLimitAndName) {
  const struct {
    const char* field;
    const char* kept;  // of "12345" typed
    const char* name;
  } kFields[] = {
      {"Text1(2)", "123", "1つ目の数の整数"},  {"Text1(1)", "1234", "1つ目の数の分子"},
      {"Text1(0)", "1234", "1つ目の数の分母"}, {"Text2(2)", "123", "2つ目の数の整数"},
      {"Text2(1)", "1234", "2つ目の数の分子"}, {"Text2(0)", "1234", "2つ目の数の分母"},
  };
  Window w;
  for (const auto& f : kFields) {
    w.form.MoveFocus(Id(f.field));
    EXPECT_TRUE(w.form.Type("12345"));
    EXPECT_EQ(w.Field(f.field).Text, f.kept) << f.field;
    EXPECT_EQ(AccessibleNameOf(Id(f.field)), f.name);
  }
  // An edit is cut off at the limit; the golden field_limits script types characters.
  EXPECT_TRUE(w.form.EditText(Id("Text1(0)"), "56789"));
  EXPECT_EQ(w.Field("Text1(0)").Text, "5678");
}

}  // namespace
}  // namespace tavolen::testing
