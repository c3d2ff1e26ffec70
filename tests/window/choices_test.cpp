#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

TEST(Option2Click, LabelBeyondCurrencyIsAnOverflowOfThatClick) {
  Window w;
  w.form.Label1(Integer{1}).Caption = "1" + std::string(16, '0');
  w.form.Click(Id("Option2(1)"));
  EXPECT_EQ(w.runtime.events, OverflowIn("Option2_Click"));
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
}

}  // namespace
}  // namespace tavolen::testing
