// The panel's JSON and the page's entry points for it.
#include "web/panel.h"

#include <emscripten/emscripten.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "window/accessible_text.h"
#include "window/answer_check.h"
#include "window/json.h"
#include "window/working.h"

namespace tavolen {
namespace {

// A line's pieces: a run of text, or a fraction when it has a denominator.
std::string PiecesJson(const WorkingLine& line) {
  Json pieces = Json::Array();
  for (const LinePiece& piece : PiecesOf(line)) {
    pieces.Element(Json::Object()
                       .Text("text", piece.text)
                       .Text("numerator", piece.numerator)
                       .Text("denominator", piece.denominator)
                       .Close());
  }
  return pieces.Close();
}

std::string_view KindName(const WorkingLineKind kind) {
  switch (kind) {
    case WorkingLineKind::Problem:
      return "problem";
    case WorkingLineKind::Detail:
      return "detail";
    case WorkingLineKind::Step:
      return "step";
    case WorkingLineKind::Stop:
      return "stop";
  }
  return "";
}

// Each line with its pieces for MathML, whose parts may be terms, the words a
// screen reader reads instead, whether it has just appeared and what is read
// out if it has.
std::string LinesOf(const WorkingView& view, const bool stale) {
  Json lines = Json::Array();
  for (const WorkingLine& line : view.lines()) {
    lines.Element(Json::Object()
                      .Text("kind", KindName(line.kind))
                      .Text("name", line.name)
                      .Raw("pieces", PiecesJson(line))
                      .Text("text", line.text)
                      .Text("words", line.words)
                      .Flag("appeared", line.announce)
                      .Text("readOut", WorkingLineReadOut(line.words, stale))
                      .Close());
  }
  return lines.Close();
}

// The message with its mark, and what is to be read out now (empty but once).
std::string CheckOf(AnswerCheckView& check) {
  const std::optional<std::string> said = check.TakeAnnouncement();
  return Json::Object()
      .Text("message", check.Message())
      .Text("mark", check.Mark())
      .Flag("right", check.IsRight())
      .Text("said", said.value_or(""))
      .Close();
}

}  // namespace

void Panel::Follow(const Form1& form) {
  stale_ = form.AnswerIsStale();
  view_.Follow(WorkingOf(form));
  check_.Update(form);
}

const char* Panel::Reply() {
  reply_ = Json::Object()
               .Flag("details", view_.details())
               .Flag("oneLine", view_.oneLineAtATime())
               .Flag("keepMixed", view_.keepMixed())
               .Flag("more", view_.OffersMore())
               .Flag("hidesAnswer", view_.HidesAnswer())
               .Flag("stale", stale_)
               .Raw("lines", LinesOf(view_, stale_))
               .Text("text", view_.PlainText())
               .Text("description", WorkingDescription(stale_))
               .Raw("check", CheckOf(check_))
               .Close();
  return reply_.c_str();
}

std::string PanelTextsJson() {
  return Json::Object()
      .Text("heading", kWorkingHeading)
      .Text("copy", kCopyCaption)
      .Text("copied", kCopiedCaption)
      .Text("empty", kNoWorkingYet)
      .Text("details", kDetailsCaption)
      .Text("oneLine", kOneLineAtATimeCaption)
      .Text("keepMixed", kKeepMixedCaption)
      .Text("next", kNextLineCaption)
      .Text("all", kShowAllCaption)
      .Text("answerAfterWorking", kAnswerAfterWorking)
      .Text("answerField", kAnswerFieldCaption)
      .Text("answerFieldName", kAnswerFieldAccessibleName)
      .Text("check", kCheckButtonCaption)
      .Close();
}

}  // namespace tavolen

// The page owns one panel for its life; each entry point returns the panel as
// it is after it.
// The page calls these by their C names.
// NOLINTBEGIN(readability-identifier-naming)
extern "C" {

EMSCRIPTEN_KEEPALIVE tavolen::Panel* tavolen_panel_new() {
  return std::make_unique<tavolen::Panel>().release();
}
EMSCRIPTEN_KEEPALIVE void tavolen_panel_delete(tavolen::Panel* panel) {
  const std::unique_ptr<tavolen::Panel> owned(panel);
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_details(tavolen::Panel* panel, const int on) {
  panel->View().SetDetails(on != 0);
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_one_line(tavolen::Panel* panel, const int on) {
  panel->View().SetOneLineAtATime(on != 0);
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_keep_mixed(tavolen::Panel* panel, const int on) {
  panel->View().SetKeepMixed(on != 0);
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_next_line(tavolen::Panel* panel) {
  panel->View().ShowNextLine();
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_show_all(tavolen::Panel* panel) {
  panel->View().ShowAll();
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_open(tavolen::Panel* panel, const int open) {
  panel->SetOpen(open != 0);
  return panel->Reply();
}
EMSCRIPTEN_KEEPALIVE const char* tavolen_panel_set_answer(tavolen::Panel* panel, const char* text) {
  panel->Check().SetAnswer(text);
  return panel->Reply();
}

}  // extern "C"
// NOLINTEND(readability-identifier-naming)
