#include "VariantWindowKind.h"

#include <algorithm>
#include <optional>

namespace kvlink {

bool WindowVariant::serves(int16_t unitType) const {
  return std::find(unitTypes.begin(), unitTypes.end(), unitType) != unitTypes.end();
}

VariantWindowKind::VariantWindowKind(int16_t& windowState, std::vector<WindowVariant> variants)
    : state_(windowState), variants_(std::move(variants)) {}

const WindowVariant* VariantWindowKind::variantFor(int16_t unitType) const {
  for (const WindowVariant& variant : variants_)
    if (variant.serves(unitType)) return &variant;
  return nullptr;
}

const WindowVariant* VariantWindowKind::variantForState(int16_t state) const {
  for (const WindowVariant& variant : variants_)
    for (int16_t type : variant.unitTypes)
      if (variant.state(type) == state) return &variant;
  return nullptr;
}

const WindowVariant* VariantWindowKind::variantOnScreen() const {
  return state_ == kWindowClosed ? nullptr : variantForState(state_);
}

bool VariantWindowKind::open(int16_t unitType) {
  const WindowVariant* variant = variantFor(unitType);
  if (!variant) return false;
  // Another variant on screen (the state still names the last station's
  // type) gives way to this one, as in the swap: one window per kind.
  const WindowVariant* current = variantOnScreen();
  if (current && current != variant) {
    moveIn(current, *variant, unitType);
    return true;
  }
  variant->window().Show();
  if (variant->onSameWindow) variant->onSameWindow(unitType);
  state_ = variant->state(unitType);
  return true;
}

void VariantWindowKind::syncToUnitType(int16_t unitType) {
  if (state_ == kWindowClosed || !isKnownUnitType(unitType)) return;
  const WindowVariant* target = variantFor(unitType);
  if (!target) return;
  const WindowVariant* current = variantForState(state_);
  if (current == target) {
    const int16_t newState = target->state(unitType);
    const bool changed = newState != state_;
    if (target->onSameWindow) target->onSameWindow(unitType);
    state_ = newState;
    if (changed && target->onTypeChange) target->onTypeChange(unitType);
    return;
  }
  moveIn(current, *target, unitType);
}

void VariantWindowKind::moveIn(const WindowVariant* current, const WindowVariant& target,
                               int16_t unitType) {
  std::optional<QPoint> position;
  if (current) {
    if (Form* old = current->ifLoaded()) position = old->pos();
    current->unload();
  }
  Form& next = target.window();
  if (position) next.move(*position);
  next.Show();
  if (target.afterMoveIn) target.afterMoveIn(unitType);
  state_ = target.state(unitType);
}

void VariantWindowKind::closeAll(CloseReason) {
  for (const WindowVariant& variant : variants_)
    if (Form* window = variant.ifLoaded()) window->Hide();
  state_ = kWindowClosed;
}

}  // namespace kvlink
