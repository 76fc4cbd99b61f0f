#include "app/window_definition.h"

#include <algorithm>

namespace veskra {

std::vector<int> FocusOrder(const ControlDefinition* controls, std::size_t count) {
  // Walk the table backwards so that a stable sort keeps later rows first
  // among equal tab indices.
  std::vector<const ControlDefinition*> stops;
  for (std::size_t i = count; i-- > 0;) {
    const ControlDefinition& control = controls[i];
    if (control.visible && control.tab_stop && control.kind != ControlKind::kBookChooser) {
      stops.push_back(&control);
    }
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const ControlDefinition* a, const ControlDefinition* b) {
                     return a->tab_index < b->tab_index;
                   });
  std::vector<int> order;
  for (const ControlDefinition* control : stops) order.push_back(control->id);
  return order;
}

int NextInFocusOrder(const std::vector<int>& order, int current, int step) {
  if (order.empty()) return 0;
  const auto found = std::find(order.begin(), order.end(), current);
  if (found == order.end()) return order.front();
  const auto size = static_cast<std::ptrdiff_t>(order.size());
  const std::ptrdiff_t at = found - order.begin();
  return order[static_cast<std::size_t>(((at + step) % size + size) % size)];
}

}  // namespace veskra
