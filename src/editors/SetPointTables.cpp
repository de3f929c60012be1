#include "SetPointTables.h"

namespace kvlink {

namespace {

using P = PolledValues;

// Rows run top to bottom, the trip box of a row before its alarm box.
const FieldTable kForm5Fields = {
    {"Text1", 0, 2, "Thermal Limit Trip, Range: 1 to 45 seconds", nullptr, nullptr, 46, "Label8",
     "Command1", &P::PolledI2tTrip, 0, 0},
    {"Text12", 1, 2, "Thermal Limit Alarm, Range: 1 to 45 seconds", nullptr, nullptr, 46, "Label14",
     "Command12", &P::PolledI2tAlarm, 0, 1},
    {"Text2", 2, 3, "Overcurrent Trip, Range: 100% to 600%", nullptr, nullptr, 625, "Label9",
     "Command2", &P::PolledOvercurrentTrip, 1, 0},
    {"Text11", 3, 3, "Overcurrent Alarm, Range: 100% to 600%", nullptr, nullptr, 625, "Label15",
     "Command11", &P::PolledOvercurrentAlarm, 1, 1},
    {"Text3", 4, 3, "Undercurrent Trip, Range: 15% to 100%", nullptr, nullptr, 101, "Label10",
     "Command3", &P::PolledUndercurrentTrip, 2, 0},
    {"Text10", 5, 3, "Undercurrent Alarm, Range: 15% to 100%", nullptr, nullptr, 101, "Label16",
     "Command10", &P::PolledUndercurrentAlarm, 2, 1},
    {"Text4", 6, 2, "Unbalance Trip, Range: 5% to 75%", nullptr, nullptr, 76, "Label11", "Command4",
     &P::PolledUnbalanceTrip, 3, 0},
    {"Text9", 7, 2, "Unbalance Alarm, Range: 5% to 75%", nullptr, nullptr, 76, "Label17",
     "Command9", &P::PolledUnbalanceAlarm, 3, 1},
    {"Text5", 8, 3, "Temperature Trip, Range: 50 deg c to 220 deg c",
     "Temperature Trip, Range: 50 c to 220 c", nullptr, 225, "Label12", "Command5",
     &P::PolledTemperatureTrip, 4, 0},
    {"Text8", 9, 3, "Temperature Alarm, Range: 50 deg c to 220 deg c",
     "Temperature Alarm, Range: 50 c to 220 c", nullptr, 225, "Label18", "Command8",
     &P::PolledTemperatureAlarm, 4, 1},
    {"Text6", 10, 3, "Earth-Leakage Trip, Range: 1% to 100%", nullptr, nullptr, 101, "Label13",
     "Command6", &P::PolledLeakageTrip, 5, 0},
    {"Text7", 11, 3, "Earth-Leakage Alarm, Range: 1% to 100%", nullptr, nullptr, 101, "Label19",
     "Command7", &P::PolledLeakageAlarm, 5, 1},
};

// The contactor unit: the motor relay's rows, but other off values for the
// thermal-limit and overcurrent set points, which have no Delete buttons (the
// program never writes those off values), and other overcurrent ranges.
FieldTable contactorFields() {
  FieldTable fields = kForm5Fields;
  const struct {
    int reg;
    int offValue;
    const char* hint;
  } changes[] = {
      {0, 998, nullptr},
      {1, 998, nullptr},
      {2, 9988, "Overcurrent Trip, Range: 2 to 12 x FLA"},
      {3, 9988, "Overcurrent Alarm, Range: 2 to 12 x FLA"},
  };
  for (const auto& change : changes) {
    FieldRow& row = fields[change.reg];
    row.offValue = change.offValue;
    row.deleteButton = nullptr;
    if (change.hint) row.hint = change.hint;
  }
  return fields;
}

const FieldTable kLpForm5Fields = contactorFields();

// The feeder family: no temperature row; short-time and instantaneous in
// multiples of the CT primary rating; the leakage hints follow the type.
const FieldTable kForm35Fields = {
    {"Text1", 0, 2, "Thermal Limit Trip, Range: 1 to 45 seconds", nullptr, nullptr, 46, "Label8",
     "Command1", &P::PolledI2tTrip, 0, 0},
    {"Text12", 1, 2, "Thermal Limit Alarm, Range: 1 to 45 seconds", nullptr, nullptr, 46, "Label14",
     "Command12", &P::PolledI2tAlarm, 0, 1},
    {"Text2", 2, 3, "Short Time Trip, Range: 1.0 to 9.0 CT Primary Rating", nullptr, nullptr, 91,
     "Label9", "Command2", &P::PolledShortTimeTrip, 1, 0},
    {"Text11", 3, 3, "Short Time Alarm, Range: 1.0 to 9.0 CT Primary Rating", nullptr, nullptr, 91,
     "Label15", "Command11", &P::PolledShortTimeAlarm, 1, 1},
    {"Text3", 4, 3, "Instantaneous Trip, Range: 1.0 to 9.0 CT Primary Rating", nullptr, nullptr, 91,
     "Label10", "Command3", &P::PolledInstantaneousTrip, 2, 0},
    {"Text10", 5, 3, "Instantaneous Alarm, Range: 1.0 to 9.0 CT Primary Rating", nullptr, nullptr,
     91, "Label16", "Command10", &P::PolledInstantaneousAlarm, 2, 1},
    {"Text4", 6, 2, "Unbalance Trip, Range: 5% to 75%", nullptr, nullptr, 76, "Label11", "Command4",
     &P::PolledUnbalanceTrip, 3, 0},
    {"Text9", 7, 2, "Unbalance Alarm, Range: 5% to 75%", nullptr, nullptr, 76, "Label17",
     "Command9", &P::PolledUnbalanceAlarm, 3, 1},
    {"Text6", 10, 3, "Ground Fault Trip, Range: 1% to 100%", nullptr,
     "Earth-Leakage Trip, Range: 1% to 100%", 101, "Label13", "Command6", &P::PolledLeakageTrip, 4,
     0},
    {"Text7", 11, 3, "Ground Fault Alarm, Range: 1% to 100%", nullptr,
     "Earth-Leakage Alarm, Range: 1% to 100%", 101, "Label19", "Command7", &P::PolledLeakageAlarm,
     4, 1},
};

const RowHeading kI2tHeading = {"Label1", "I  t (s @ 600%)", "Label22", "2", "I"};

const std::vector<RowHeading> kMotorHeadings = {
    kI2tHeading,
    {"Label2", "OVERCURRENT (A)"},
    {"Label3", "UNDERCURRENT (%)"},
    {"Label4", "UNBALANCE (%)"},
    {"Label5", "TEMPERATURE (  C)", "Label23", "o", "TEMPERATURE ("},
    {"Label6", "EARTH LEAKAGE (%)"},
};

const std::vector<RowHeading> kFeederHeadings = {
    kI2tHeading,
    {"Label2", "SHORT TIME(CTx10)"},
    {"Label3", "INSTANTANEOUS(CTx10)"},
    {"Label4", "UNBALANCE (%)"},
    {"Label6", "EARTH LEAKAGE (%)"},
};

const FeederCaptions kFeederType1 = {"GLT Trip/Alarm Setpoints", "I  t (s @ 600%)",
                                     "EARTH LEAKAGE (%)", true, true};
const FeederCaptions kFeederType4 = {"ZE-DUR Trip/Alarm Setpoints", "O / L Class (s@600%)",
                                     "GROUND FAULT (%)", false, false};

}  // namespace

const SetPointDesign& form5Design() {
  static const SetPointDesign design = {"FORM5", "RVX Trip-And-Alarm Set Points", kMotorHeadings,
                                        "Summary and Range of Trip/Alarm Set Point", &kForm5Fields};
  return design;
}

const SetPointDesign& lpForm5Design() {
  static const SetPointDesign design = {"lpFORM5", "DA-DAroze Trip-And-Alarm Set Points",
                                        kMotorHeadings, "Summary and Range of Trip/Alarm Set Point",
                                        &kLpForm5Fields};
  return design;
}

const SetPointDesign& form35Design() {
  static const SetPointDesign design = {"FORM35", "GLT / DA-RUV Trip-And-Alarm Set Points",
                                        kFeederHeadings, "Summary and Range of Trip/Alarm SetPoint",
                                        &kForm35Fields};
  return design;
}

const SetPointDesign* setPointDesignFor(int unitType) {
  switch (unitType) {
    case 0:
      return &form5Design();
    case 1:
    case 4:
      return &form35Design();
    case 2:
      return &lpForm5Design();
    default:
      return nullptr;
  }
}

const FeederCaptions* feederCaptionsFor(int unitType) {
  if (unitType == 1) return &kFeederType1;
  if (unitType == 4) return &kFeederType4;
  return nullptr;
}

}  // namespace kvlink
