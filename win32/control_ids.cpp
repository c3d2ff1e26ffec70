#include "win32/control_ids.h"

#include <optional>
#include <stdexcept>

namespace tavolen {
namespace {

constexpr int kFirstControlId = 1000;
constexpr int kFirstLineId = 1100;
constexpr int kFirstMenuId = 100;

// The place of `id` among `defs`, counted from 0.
template <typename Defs>
std::optional<int> PlaceOf(const Defs& defs, const ControlId id) {
  int place = 0;
  for (const auto& def : defs) {
    if (def.id == id) {
      return place;
    }
    ++place;
  }
  return std::nullopt;
}

}  // namespace

int ChildIdOf(ControlId id) {
  if (const std::optional<int> place = PlaceOf(ControlDefinitions(), id)) {
    return kFirstControlId + *place;
  }
  if (const std::optional<int> place = PlaceOf(LineDefinitions(), id)) {
    return kFirstLineId + *place;
  }
  throw std::invalid_argument("no child window for " + DisplayName(id));
}

int MenuCommandIdOf(ControlId id) {
  if (const std::optional<int> place = PlaceOf(MenuDefinitions(), id)) {
    return kFirstMenuId + *place;
  }
  throw std::invalid_argument("no menu command " + DisplayName(id));
}

}  // namespace tavolen
