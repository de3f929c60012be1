#pragma once
// A window kind that shows one of several variant windows by unit type
// (set points, program mode, CT, reset panels). The answered poll keeps the
// kind on the variant of the station's unit type: a different variant
// takes the old one's place on screen; the same window serving another type
// is only re-captioned.

#include <functional>
#include <vector>

#include "DefaultInstance.h"
#include "Form.h"
#include "ProgramState.h"
#include "WindowKind.h"

namespace kvlink {

struct WindowVariant {
  std::vector<int16_t> unitTypes;   // the unit types this window serves
  std::function<Form*()> ifLoaded;  // the window when it exists
  std::function<Form&()> window;    // the window, created when missing
  std::function<void()> unload;     // unloads it (its unload handler runs)
  // The window state that names this variant for a unit type; by default the
  // unit type itself.
  std::function<int16_t(int16_t unitType)> stateFor;
  // After the window has taken another variant's place for this unit type.
  std::function<void(int16_t unitType)> afterMoveIn;
  // When the window on screen already is this one and the type changed, or
  // the type stayed; runs in every answered pass.
  std::function<void(int16_t unitType)> onSameWindow;
  // When the window on screen already is this one and its state named
  // another unit type (1 and 4 on one feeder window): runs once per change,
  // after onSameWindow.
  std::function<void(int16_t unitType)> onTypeChange;

  bool serves(int16_t unitType) const;
  int16_t state(int16_t unitType) const { return stateFor ? stateFor(unitType) : unitType; }
};

// The variant served by a window's default instance, for the unit types given.
template <class T>
WindowVariant variantOf(DefaultInstance<T>& instance, std::vector<int16_t> unitTypes) {
  WindowVariant variant;
  variant.unitTypes = std::move(unitTypes);
  variant.ifLoaded = [&instance]() -> Form* { return instance.ifLoaded(); };
  variant.window = [&instance]() -> Form& { return instance(); };
  variant.unload = [&instance] { instance.Unload(); };
  return variant;
}

class VariantWindowKind : public WindowKind {
 public:
  VariantWindowKind(int16_t& windowState, std::vector<WindowVariant> variants);

  // The variant for a unit type; nullptr when no variant serves it.
  const WindowVariant* variantFor(int16_t unitType) const;
  // The variant that the window state names; nullptr while closed.
  const WindowVariant* variantOnScreen() const;

  // Shows the variant of the unit type modeless, applies its captions and
  // sets the window state; another variant on screen gives way to it as in
  // the swap. False when no variant serves the type.
  bool open(int16_t unitType);

  void syncToUnitType(int16_t unitType) override;
  void closeAll(CloseReason reason) override;

  int16_t& windowState() { return state_; }
  const std::vector<WindowVariant>& variants() const { return variants_; }

 private:
  const WindowVariant* variantForState(int16_t state) const;
  // `target` takes the place of `current` (unloaded, when there is one) on
  // screen, for the unit type.
  void moveIn(const WindowVariant* current, const WindowVariant& target, int16_t unitType);

  int16_t& state_;
  std::vector<WindowVariant> variants_;
};

}  // namespace kvlink
