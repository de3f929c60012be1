#pragma once
// The status displays' windows and window kinds: General Status, the two
// pre-trip windows and the Network Summary with its options.

#include <memory>

#include "DefaultInstance.h"
#include "Form13.h"
#include "Form14.h"
#include "GeneralStatus.h"
#include "MeterForm.h"
#include "NetworkScan.h"
#include "PreTripForms.h"
#include "Program.h"
#include "VariantWindowKind.h"

namespace kvlink {

class StatusModule : public Module {
 public:
  explicit StatusModule(Program& program);
  ~StatusModule() override;

  DefaultInstance<kvlink::MeterForm> MeterForm;
  DefaultInstance<kvlink::Form4> Form4;
  DefaultInstance<kvlink::Form34> Form34;
  DefaultInstance<kvlink::Form13> Form13;
  DefaultInstance<kvlink::Form14> Form14;

  NetworkScanState scan;
  GeneralStatusKind generalStatus;
  VariantWindowKind preTrip;
  NetworkSummaryKind networkSummary;
};

}  // namespace kvlink
