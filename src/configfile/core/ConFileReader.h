#pragma once
// Reading a configuration file back for a quick configuration: the file is
// read once, every check is made on that one text, and every value is known
// good before the first register is written.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ConFileFormat.h"
#include "DownloadRows.h"

namespace kvlink {

// A configuration file is about 1 KB; anything much larger is not one.
inline constexpr std::size_t kConFileMaxBytes = 64 * 1024;

// The file's text; nullopt when it is missing, unreadable or too large to be
// a configuration file.
std::optional<std::string> readConFile(const std::string& path);

// One key of the text, as the profile reader returns it ("" when missing).
std::string conValue(std::string_view text, const char* section, const char* key);

// False when the profile reader would return only the start of the value of
// [StationType] Type: a file with such a value is not used.
bool conTypeIsWhole(std::string_view text);

// [StationType] Version is exactly "2.0".
bool hasConVersion(std::string_view text);

// The result line for a [StationType] key that is refused: "Missing in CON
// file: Key" or "Bad value in CON file: Key=text".
std::string conStationTypeKeyLine(std::string_view text, const char* key);
// Why a file read with readConFile is refused before its type is looked at:
// unreadable, or not version "2.0"; "" when neither.
std::string conVersionProblemLine(const std::optional<std::string>& file);

enum class ConTypeCheck {
  Matches,     // [StationType] Type is the unit type as a number ("2" or "2.0")
  Differs,     // a number, but not that type
  NotANumber,  // missing, empty or not a number
};
ConTypeCheck checkConType(std::string_view text, int unitType);

// One register the download writes, with the file's value.
struct PlannedWrite {
  const DownloadRow* row = nullptr;
  uint16_t value = 0;
  std::string text;  // the value as the file spells it

  // The row's progress text followed by the value: the text as read, or for
  // the relay-mode row the compared bits as a number.
  std::string progressText() const;
  // True when the word read back holds the compared bits of the value.
  bool verifies(uint16_t readBack) const;
};

enum class PlanProblem {
  None,
  MissingSetPoint,  // a [SetPoints] key of the family is missing or empty
  BadSetPoint,      // a value that is not a whole number from 0 to 65535
  LongSetPoint,     // a value longer than the profile reader returns whole
};

struct DownloadPlan {
  PlanProblem problem = PlanProblem::None;
  std::string key;                   // the first key with the problem, in register order
  std::string text;                  // its text (BadSetPoint)
  std::vector<PlannedWrite> writes;  // in row order; empty unless problem is None
};

// The writes for a unit of `family` from the [SetPoints] keys of the text.
DownloadPlan planDownload(std::string_view text, UnitFamily family);

}  // namespace kvlink
