#include <gtest/gtest.h>

#include "tests/window/window_fixture.h"

namespace tavolen::testing {
namespace {

TEST(Command2Click, ClearsFieldsAndAnswerOnly) {
  Window w;
  w.Enter({"5", "", "", "", "", ""});
  w.form.Click(Id("Option1(3)"));
  w.form.Click(Id("Option2(1)"));
  w.form.Click(Id("Command1"));  // division by zero hides the bar
  w.form.MoveFocus(Id("Text2(1)"));
  w.form.Type("7");
  w.form.Click(Id("Command2"));
  EXPECT_EQ(w.Answer(), (std::vector<std::string>{"", "", "", ""}));
  for (std::int16_t i = 0; i < 3; ++i) {
    EXPECT_EQ(w.form.Text1(Integer{i}).Text, "");
    EXPECT_EQ(w.form.Text2(Integer{i}).Text, "");
  }
  EXPECT_FALSE(w.form.Line3.Visible);
  EXPECT_EQ(w.form.Label3.Caption, "÷");
  EXPECT_EQ(w.form.Option1.Chosen(), 3);
  EXPECT_EQ(w.form.Option2.Chosen(), 1);
  EXPECT_EQ(w.form.Focus(), Id("Command2"));
}

TEST(FileBerClick, ShowsThreeLinesSplitBySingleCarriageReturns) {
  Window w;
  w.form.ChooseMenu(Id("FileBer"));
  ASSERT_EQ(w.runtime.events.size(), 1U);
  const std::string& event = w.runtime.events.front();
  const std::string head = "msgbox 64 バージョン情報: TavolenVer2.4.2\r";
  ASSERT_TRUE(event.starts_with(head)) << event;
  const std::string rest = event.substr(head.size());
  const std::size_t cr = rest.find('\r');
  ASSERT_NE(cr, std::string::npos);
  EXPECT_GT(cr, 0U);
  EXPECT_EQ(rest.find('\r', cr + 1), std::string::npos);
  EXPECT_EQ(rest.find('\n'), std::string::npos);
  EXPECT_NE(rest.back(), '\r');
}

TEST(Exit, EveryRoadUnloadsOnceAndEndsInput) {
  using Road = bool (*)(Form1&);
  const std::pair<const char*, Road> kRoads[] = {
      {"Command3", [](Form1& f) { return f.Click(Id("Command3")); }},
      {"FileExit", [](Form1& f) { return f.ChooseMenu(Id("FileExit")); }},
      {"close", [](Form1& f) { return f.RequestClose(); }},
  };
  for (const auto& [name, road] : kRoads) {
    Window w;
    w.form.MoveFocus(Id("Text1(1)"));
    EXPECT_TRUE(road(w.form)) << name;
    EXPECT_TRUE(w.form.IsUnloaded());
    EXPECT_EQ(w.runtime.events.back(), "unloaded") << name;
    EXPECT_FALSE(w.form.RequestClose());
    EXPECT_FALSE(w.form.PressKey(Key::Tab));
    EXPECT_FALSE(w.form.Click(Id("Command1")));
    EXPECT_EQ(w.runtime.events.size(), 1U) << name;
  }
}

}  // namespace
}  // namespace tavolen::testing
