#include "win32/control_ids.h"

#include <stdexcept>

namespace tavolen {
namespace {

constexpr int kFirstControlId = 1000;
constexpr int kFirstLineId = 1100;
constexpr int kFirstMenuId = 100;

}  // namespace

int ChildIdOf(ControlId id) {
  int place = 0;
  for (const ControlDef& def : ControlDefinitions()) {
    if (def.id == id) {
      return kFirstControlId + place;
    }
    ++place;
  }
  place = 0;
  for (const LineDef& def : LineDefinitions()) {
    if (def.id == id) {
      return kFirstLineId + place;
    }
    ++place;
  }
  throw std::invalid_argument("no child window for " + DisplayName(id));
}

int MenuCommandIdOf(ControlId id) {
  int place = 0;
  for (const MenuDef& def : MenuDefinitions()) {
    if (def.id == id) {
      return kFirstMenuId + place;
    }
    ++place;
  }
  throw std::invalid_argument("no menu command " + DisplayName(id));
}

}  // namespace tavolen
