#include "CtTables.h"

#include <cstring>

namespace kvlink {

namespace {

using P = PolledValues;

constexpr const char* kPhaseCtHint = "Phase-CT Primary Rating, Range: 1.07 to 2.22 * Motor FLA";
constexpr const char* kEfCtHint = "EF-CT Primary Rating, Range: 5, 50 to 2000 A";
constexpr const char* kGfCtHint = "GF-CT Primary Rating, Range: 5, 50 to 2000 A";
constexpr const char* kFlaHint = "Full-Load Current, Range: 0.45 to 0.93 * PH-CT Primary";
constexpr const char* kContactorFlaHint = "Full-Load Current, Range: 0.45 to 0.75 * PH-CT Primary";
constexpr const char* kServiceFactorHint = "Service Factor, Range: 100 to 125";

FieldRow phaseCt() {
  return {.box = "Text1",
          .reg = 16,
          .maxLength = 4,
          .hint = kPhaseCtHint,
          .offValue = std::nullopt,
          .polled = &P::PolledPhaseCT,
          .row = 0};
}
FieldRow earthFaultCt() {
  return {.box = "Text2",
          .reg = 17,
          .maxLength = 5,
          .hint = kEfCtHint,
          .offValue = std::nullopt,
          .polled = &P::PolledEFCT,
          .row = 1};
}
FieldRow fla(const char* hint) {
  return {.box = "Text3",
          .reg = 12,
          .maxLength = 3,
          .hint = hint,
          .offValue = std::nullopt,
          .polled = &P::PolledFLA,
          .row = 2};
}
FieldRow serviceFactor() {
  return {.box = "Text4",
          .reg = 13,
          .maxLength = 3,
          .hint = kServiceFactorHint,
          .offValue = std::nullopt,
          .polled = &P::PolledServiceFactor,
          .row = 3};
}

const FieldTable kForm7Fields = {phaseCt(), earthFaultCt(), fla(kFlaHint), serviceFactor()};
const FieldTable kLpForm7Fields = {phaseCt(), earthFaultCt(), fla(kContactorFlaHint),
                                   serviceFactor()};
// The earth-fault box of the feeder window names the ground-fault CT for
// every unit type but 1.
const FieldTable kForm37Fields = {
    phaseCt(),
    {.box = "Text2",
     .reg = 17,
     .maxLength = 5,
     .hint = kGfCtHint,
     .hintForType1 = kEfCtHint,
     .offValue = std::nullopt,
     .polled = &P::PolledEFCT,
     .row = 1},
    fla(kFlaHint),
};

}  // namespace

const CtDesign& form7Design() {
  static const CtDesign design{"Form7", "RVX CT/SF/FLA Settings", &kForm7Fields};
  return design;
}

const CtDesign& lpForm7Design() {
  static const CtDesign design{"lpForm7", "DA-DAroze   CT/SF/FLA Settings", &kLpForm7Fields};
  return design;
}

const CtDesign& form37Design() {
  static const CtDesign design{"Form37", "GLT / DA-RUV   CT and FLA Settings", &kForm37Fields};
  return design;
}

CtNotesShown ctNotesFor(const char* box) {
  CtNotesShown notes;
  if (std::strcmp(box, "Text1") == 0 || std::strcmp(box, "Text3") == 0) {
    notes.shown[0] = true;
    notes.shown[2] = true;
  } else if (std::strcmp(box, "Text2") == 0) {
    notes.shown[1] = true;
  }
  return notes;
}

const Form37Captions* form37CaptionsFor(int unitType) {
  static const Form37Captions type1{"GLT  CT and FLA Settings", "EARTH-FAULT CT"};
  static const Form37Captions type4{"ZE-DUR  CT and FLA Settings", "GROUND-FAULT CT"};
  if (unitType == 1) return &type1;
  if (unitType == 4) return &type4;
  return nullptr;
}

}  // namespace kvlink
