#pragma once
// The configuration file (*.con): an INI-format record of every set point
// and the current meter, pre-trip and status values of one unit, as data.
// [StationType] comes first for every unit type; the rest of the file
// depends on the unit family alone (types 0 and 2 motor, 1 and 4 feeder).

#include <optional>
#include <span>

namespace kvlink {

enum class UnitFamily { Motor, Feeder };

// The family of a unit type; nullopt for any code but 0, 1, 2 and 4.
std::optional<UnitFamily> unitFamilyOf(int unitType);

inline constexpr const char* kConStationTypeSection = "StationType";
inline constexpr const char* kConTypeKey = "Type";
inline constexpr const char* kConDescriptionKey = "Description";
inline constexpr const char* kConVersionKey = "Version";
inline constexpr const char* kConSetPointsSection = "SetPoints";

// The Description value every file carries, whatever the unit type.
inline constexpr const char* kConDescription = "0=RVX-38B   1=GLT-52  2=RVX-38B LP  4=ZE DUR";
// The format version this program writes and accepts.
inline constexpr const char* kConVersion = "2.0";

// One key after [StationType]: its section, its name (blanks included) and
// the unit register whose value it holds.
struct ConKey {
  const char* section;
  const char* key;
  int reg;
};

// The keys after [StationType] in the order they are written: 36 for the
// motor family, 32 for the feeder family.
std::span<const ConKey> conFileKeys(UnitFamily family);

}  // namespace kvlink
