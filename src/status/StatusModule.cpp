#include "StatusModule.h"

namespace kvlink {

namespace {

template <class T>
void makeWith(DefaultInstance<T>& instance, Program& program) {
  instance.setFactory([&program] { return std::make_unique<T>(program); });
}

WindowVariant preTripVariant(std::vector<int16_t> types, auto& instance,
                             std::function<int16_t(int16_t)> stateFor) {
  WindowVariant variant = variantOf(instance, std::move(types));
  variant.stateFor = std::move(stateFor);
  return variant;
}

}  // namespace

StatusModule::StatusModule(Program& program)
    : generalStatus(program),
      preTrip(program.windowStates.PreTripWindowState,
              {preTripVariant({0, 2}, Form4, {}),
               preTripVariant({1, 4}, Form34, [](int16_t) -> int16_t { return 1; })}),
      networkSummary(program) {
  makeWith(MeterForm, program);
  makeWith(Form4, program);
  makeWith(Form34, program);
  makeWith(Form13, program);
  makeWith(Form14, program);
}

StatusModule::~StatusModule() = default;

}  // namespace kvlink
