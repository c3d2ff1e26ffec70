// The keyboard in the window: Tab order, arrow keys in the option groups,
// Space and Enter on a button.
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "window/form1.h"

namespace tavolen {

namespace {

// Tab stops in order; an option group (index -1) is entered at its chosen button.
constexpr std::array<ControlId, 11> kTabStops{{
    {ControlName::Option1, -1},
    {ControlName::Option2, -1},
    {ControlName::Text1, 2},
    {ControlName::Text1, 1},
    {ControlName::Text1, 0},
    {ControlName::Text2, 2},
    {ControlName::Text2, 1},
    {ControlName::Text2, 0},
    {ControlName::Command1, -1},
    {ControlName::Command2, -1},
    {ControlName::Command3, -1},
}};

std::size_t TabPosition(ControlId focus) {
  const ControlId stop = IsOptionButton(focus) ? ControlId{focus.name, -1} : focus;
  for (std::size_t i = 0; i < kTabStops.size(); ++i) {
    if (kTabStops.at(i) == stop) {
      return i;
    }
  }
  return 0;
}

OptionGroup& GroupOf(Form1& form, ControlName name) {
  return name == ControlName::Option1 ? form.Option1 : form.Option2;
}

}  // namespace

bool Form1::PressKey(Key key) {
  if (unloaded_) {
    return false;
  }
  const std::size_t stops = kTabStops.size();
  switch (key) {
    case Key::Tab:
    case Key::ShiftTab: {
      const std::size_t step = key == Key::Tab ? 1 : stops - 1;
      const ControlId stop = kTabStops.at((TabPosition(focus_) + step) % stops);
      ShiftFocus(stop.index == -1 &&
                         (stop.name == ControlName::Option1 || stop.name == ControlName::Option2)
                     ? ControlId{stop.name, GroupOf(*this, stop.name).Chosen()}
                     : stop);
      break;
    }
    case Key::Left:
    case Key::Up:
    case Key::Right:
    case Key::Down: {
      if (!IsOptionButton(focus_)) {
        break;
      }
      const int count = GroupOf(*this, focus_.name).Count();
      const int step = key == Key::Right || key == Key::Down ? 1 : count - 1;
      const ControlId next{focus_.name, static_cast<std::int16_t>((focus_.index + step) % count)};
      ShiftFocus(next);
      ChooseOption(next);
      break;
    }
    // There is no default button: Enter acts only on a focused button, as Space does.
    case Key::Space:
    case Key::Enter:
      if (IsCommandButton(focus_)) {
        RaiseClick(focus_);
      }
      break;
  }
  return true;
}

bool Form1::WrapsOn(Key key) const {
  const std::size_t position = TabPosition(focus_);
  return key == Key::Tab ? position + 1 == kTabStops.size() : key == Key::ShiftTab && position == 0;
}

std::optional<Key> ParseKey(std::string_view text) {
  struct Named {
    std::string_view name;
    Key key;
  };
  static constexpr std::array<Named, 8> kKeys{{
      {"Tab", Key::Tab},
      {"Shift+Tab", Key::ShiftTab},
      {"Left", Key::Left},
      {"Right", Key::Right},
      {"Up", Key::Up},
      {"Down", Key::Down},
      {"Space", Key::Space},
      {"Enter", Key::Enter},
  }};
  for (const Named& named : kKeys) {
    if (named.name == text) {
      return named.key;
    }
  }
  return std::nullopt;
}

}  // namespace tavolen
