#include "window/controls.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace tavolen {

namespace {

constexpr FontDef kDefaultFont{};
constexpr FontDef kOptionFont{kGothicFace, 1575, false};
constexpr FontDef kFieldFont{kGothicFace, 1200, true};
constexpr FontDef kAnswerFont{kGothicFace, 1425, true};
constexpr FontDef kButtonFont{kGothicFace, 1125, false};

constexpr std::uint32_t kPureBlue = 0x0000FFu;

constexpr ControlId Single(ControlName name) {
  return ControlId{name, -1};
}
constexpr ControlId Member(ControlName name, std::int16_t index) {
  return ControlId{name, index};
}

using enum ControlName;
using enum ControlType;

// One row per control, in the order and units of the window definition.
// clang-format off
constexpr std::array kControls{
    ControlDef{Single(Frame1), Frame, {}, "計算の方法", 120, 120, 3615, 1095, kDefaultFont},
    ControlDef{Member(Option1, 0), OptionButton, Frame1, "＋", 480, 240, 855, 375, kOptionFont},
    ControlDef{Member(Option1, 1), OptionButton, Frame1, "－", 480, 720, 975, 255, kOptionFont},
    ControlDef{Member(Option1, 2), OptionButton, Frame1, "×", 1800, 240, 855, 375, kOptionFont},
    ControlDef{Member(Option1, 3), OptionButton, Frame1, "÷", 1800, 720, 975, 255, kOptionFont},
    ControlDef{Single(Frame2), Frame, {}, "答えの出し方", 3840, 120, 1575, 1095, kDefaultFont},
    ControlDef{Member(Option2, 0), OptionButton, Frame2, "帯分数", 240, 240, 1095, 375, kDefaultFont},
    ControlDef{Member(Option2, 1), OptionButton, Frame2, "仮分数", 240, 720, 1095, 300, kDefaultFont},
    ControlDef{Single(Label7), Label, {}, "", 120, 1320, 1575, 615, FontDef{kMinchoFace, 2400, false}, TextAlign::Left, 0, kPureBlue},
    ControlDef{Member(Text1, 2), TextBox, {}, "", 120, 2340, 520, 375, kFieldFont, TextAlign::Right, 3},
    ControlDef{Member(Text1, 1), TextBox, {}, "", 840, 2040, 735, 375, kFieldFont, TextAlign::Centre, 4},
    ControlDef{Member(Text1, 0), TextBox, {}, "", 840, 2640, 735, 375, kFieldFont, TextAlign::Centre, 4},
    ControlDef{Single(Label3), Label, {}, "＋", 1800, 2340, 495, 495, FontDef{kGothicFace, 2025, false}, TextAlign::Left},
    ControlDef{Member(Text2, 2), TextBox, {}, "", 2400, 2355, 520, 375, kFieldFont, TextAlign::Right, 3},
    ControlDef{Member(Text2, 1), TextBox, {}, "", 3120, 2040, 735, 375, kFieldFont, TextAlign::Centre, 4},
    ControlDef{Member(Text2, 0), TextBox, {}, "", 3120, 2640, 735, 375, kFieldFont, TextAlign::Centre, 4},
    ControlDef{Single(Label4), Label, {}, "=", 4080, 2280, 255, 495, FontDef{kGothicFace, 2400, false}, TextAlign::Left},
    ControlDef{Member(Label1, 3), Label, {}, "", 4440, 2325, 255, 375, FontDef{kGothicFace, 2175, false}, TextAlign::Centre},
    ControlDef{Member(Label1, 2), Label, {}, "", 4680, 2340, 615, 375, kAnswerFont, TextAlign::Right},
    ControlDef{Member(Label1, 1), Label, {}, "", 5520, 2040, 855, 255, kAnswerFont, TextAlign::Centre},
    ControlDef{Member(Label1, 0), Label, {}, "", 5520, 2640, 855, 255, kAnswerFont, TextAlign::Centre},
    ControlDef{Single(Command3), CommandButton, {}, "終了", 360, 3240, 1455, 615, kDefaultFont},
    ControlDef{Single(Command1), CommandButton, {}, "計算", 2640, 3240, 1455, 615, kButtonFont},
    ControlDef{Single(Command2), CommandButton, {}, "消す", 4920, 3240, 1455, 615, kButtonFont},
};
// clang-format on

constexpr std::array kLines{
    LineDef{Single(Line1), 720, 2520, 1680, 2520},
    LineDef{Single(Line2), 3000, 2520, 3960, 2520},
    LineDef{Single(Line3), 5400, 2520, 6480, 2520},
};

constexpr std::array kMenus{
    MenuDef{Single(FileExit), "終了"},
    MenuDef{Single(FileBer), "バージョン情報"},
};

struct ArrayShape {
  ControlName name;
  std::string_view text;
  std::int16_t count;  // 0 for a single control
};

constexpr std::array<ArrayShape, 18> kNames{{
    {Frame1, "Frame1", 0},
    {Option1, "Option1", 4},
    {Frame2, "Frame2", 0},
    {Option2, "Option2", 2},
    {Label7, "Label7", 0},
    {Text1, "Text1", 3},
    {Text2, "Text2", 3},
    {Label3, "Label3", 0},
    {Label4, "Label4", 0},
    {Label1, "Label1", 4},
    {Command1, "Command1", 0},
    {Command2, "Command2", 0},
    {Command3, "Command3", 0},
    {Line1, "Line1", 0},
    {Line2, "Line2", 0},
    {Line3, "Line3", 0},
    {FileExit, "FileExit", 0},
    {FileBer, "FileBer", 0},
}};

constexpr const ArrayShape& ShapeOf(ControlName name) {
  return kNames.at(static_cast<std::size_t>(name));
}

static_assert([] {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (static_cast<std::size_t>(kNames.at(i).name) != i) {
      return false;
    }
  }
  return true;
}());

}  // namespace

std::span<const ControlDef> ControlDefinitions() {
  return kControls;
}
std::span<const LineDef> LineDefinitions() {
  return kLines;
}
std::span<const MenuDef> MenuDefinitions() {
  return kMenus;
}

const ControlDef& DefinitionOf(ControlId id) {
  for (const ControlDef& def : kControls) {
    if (def.id == id) {
      return def;
    }
  }
  throw std::invalid_argument("no client-area control " + DisplayName(id));
}

std::string_view FieldRole(std::int16_t index) {
  constexpr std::array<std::string_view, 3> kRoles{"分母", "分子", "整数"};
  return kRoles.at(static_cast<std::size_t>(index));
}

bool IsEntryField(ControlId id) {
  return (id.name == Text1 || id.name == Text2) && id.index >= 0 &&
         id.index < ShapeOf(id.name).count;
}

bool IsOptionButton(ControlId id) {
  return (id.name == Option1 || id.name == Option2) && id.index >= 0 &&
         id.index < ShapeOf(id.name).count;
}

bool IsCommandButton(ControlId id) {
  return id.index == -1 && (id.name == Command1 || id.name == Command2 || id.name == Command3);
}

std::string DisplayName(ControlId id) {
  std::string text(ShapeOf(id.name).text);
  if (id.index >= 0) {
    text += '(';
    text += std::to_string(id.index);
    text += ')';
  }
  return text;
}

// Only the exact written form is a name: "Text1(0)", never "Text1(00)" or "text1(0)".
std::optional<ControlId> ParseControlName(std::string_view text) {
  for (const ArrayShape& shape : kNames) {
    if (!text.starts_with(shape.text)) {
      continue;
    }
    const std::string_view rest = text.substr(shape.text.size());
    if (shape.count == 0) {
      if (rest.empty()) {
        return ControlId{shape.name, -1};
      }
      continue;
    }
    if (rest.size() != 3 || rest.front() != '(' || rest.back() != ')') {
      continue;
    }
    const char digit = rest[1];
    if (digit >= '0' && digit < '0' + shape.count) {
      return ControlId{shape.name, static_cast<std::int16_t>(digit - '0')};
    }
  }
  return std::nullopt;
}

int BesideOwnerLeft(const int ownerLeft, const int ownerRight, const int width, const int gap,
                    const int screenLeft, const int screenRight) {
  const int right = ownerRight + gap;
  const int left = ownerLeft - gap - width;
  return right + width <= screenRight || left < screenLeft ? right : left;
}

bool InAnswerArea(const ControlId id) {
  return id.name == ControlName::Label1 || id.name == ControlName::Line3;
}

TwipsRect AnswerAreaTwips() {
  TwipsRect area{kClientWidthTwips, kClientHeightTwips, 0, 0};
  const auto add = [&area](const TwipsRect part) {
    area = {std::min(area.left, part.left), std::min(area.top, part.top),
            std::max(area.right, part.right), std::max(area.bottom, part.bottom)};
  };
  for (const ControlDef& def : ControlDefinitions()) {
    if (InAnswerArea(def.id)) {
      add({def.left, def.top, def.left + def.width, def.top + def.height});
    }
  }
  for (const LineDef& def : LineDefinitions()) {
    if (InAnswerArea(def.id)) {
      add({def.x1, def.y1, def.x2, def.y2 + kTwipsPerPixel});
    }
  }
  return area;
}

}  // namespace tavolen
