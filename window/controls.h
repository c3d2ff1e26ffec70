// The window definition: every control of Form1 with its initial properties,
// position and font. The model and every view are built from it; the tab
// order is the model's (window/keyboard.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavolen {

enum class ControlName : std::uint8_t {
  Frame1,
  Option1,
  Frame2,
  Option2,
  Label7,
  Text1,
  Text2,
  Label3,
  Label4,
  Label1,
  Command1,
  Command2,
  Command3,
  Line1,
  Line2,
  Line3,
  FileExit,
  FileBer,
};

// A control: its name, and its Index within a control array (-1 for a single control).
struct ControlId {
  ControlName name;
  std::int16_t index = -1;
  friend constexpr bool operator==(ControlId, ControlId) = default;
};

enum class ControlType : std::uint8_t {
  Frame,
  OptionButton,
  Label,
  TextBox,
  CommandButton,
};

enum class TextAlign : std::uint8_t { Default, Left, Centre, Right };

// The two faces of the definition; a view maps each to the nearest face it has.
inline constexpr std::string_view kGothicFace = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kMinchoFace = "ＭＳ Ｐ明朝";

struct FontDef {
  std::string_view face;      // empty: the toolkit's default user-interface font
  int hundredthsOfPoint = 0;  // 0 with an empty face
  bool bold = false;
  // Pixel height at 96 dots per inch (11.25 pt = 15 px).
  [[nodiscard]] constexpr int Pixels() const { return hundredthsOfPoint * 96 / 7200; }
};

inline constexpr std::uint32_t kDefaultColour = 0xFFFFFFFFu;

struct ControlDef {
  ControlId id;
  ControlType type;
  std::optional<ControlName> container;          // Frame1 or Frame2 for option buttons
  std::string_view caption;                      // initial caption or text (UTF-8)
  int left = 0, top = 0, width = 0, height = 0;  // twips; relative to the container
  FontDef font;
  TextAlign align = TextAlign::Default;
  int maxLength = 0;                      // entry fields: characters the user may type
  std::uint32_t colour = kDefaultColour;  // text colour as 0xRRGGBB
};

struct LineDef {
  ControlId id;
  int x1, y1, x2, y2;  // twips in the client area
};

// A rectangle in twips of the client area, right and bottom exclusive.
struct TwipsRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend constexpr bool operator==(TwipsRect, TwipsRect) = default;
};

// The answer labels with their bar (a pixel thick): one region that is read
// out as words and opens the answer menu on a right click.
[[nodiscard]] TwipsRect AnswerAreaTwips();
// Whether the control is drawn in that region: the labels and the bar.
[[nodiscard]] bool InAnswerArea(ControlId id);

// The gap between the main window and the 途中式 window beside it, in pixels
// at 96 dots per inch.
inline constexpr int kBesideGapPixels = 8;

// Where a window `width` wide goes beside its owner, gap apart: on the right,
// or on the left where the screen ends there and the left has room. Edges are
// in one system of the caller's, the owner's and the screen's alike.
[[nodiscard]] int BesideOwnerLeft(int ownerLeft, int ownerRight, int width, int gap, int screenLeft,
                                  int screenRight);

struct MenuDef {
  ControlId id;
  std::string_view caption;
};

inline constexpr std::string_view kFormCaption = "Tavolen";
inline constexpr int kClientWidthTwips = 6585;
inline constexpr int kClientHeightTwips = 3960;
inline constexpr int kTwipsPerPixel = 15;

// Controls of the client area, frames before their option buttons.
[[nodiscard]] std::span<const ControlDef> ControlDefinitions();
[[nodiscard]] std::span<const LineDef> LineDefinitions();
[[nodiscard]] std::span<const MenuDef> MenuDefinitions();  // left to right
[[nodiscard]] const ControlDef& DefinitionOf(ControlId id);

// Twips to whole pixels at 96 dots per inch, rounding half up (520 twips -> 35).
[[nodiscard]] constexpr int PixelsOf(int twips) {
  return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// What the field of an operand's Index holds: "分母", "分子", "整数".
[[nodiscard]] std::string_view FieldRole(std::int16_t index);

// The kinds of control that take the keyboard focus.
[[nodiscard]] bool IsEntryField(ControlId id);
[[nodiscard]] bool IsOptionButton(ControlId id);
[[nodiscard]] bool IsCommandButton(ControlId id);

// "Text1(0)", "Command1"; and back (nullopt for an unknown name or index).
[[nodiscard]] std::string DisplayName(ControlId id);
[[nodiscard]] std::optional<ControlId> ParseControlName(std::string_view text);

}  // namespace tavolen
