#pragma once
// Writing a configuration file: the text of one save, made in memory key by
// key through the profile writer, then put on disk in one step, so that the
// file holds exactly the keys of this save or, when the write fails, what it
// held before.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kvlink {

// The value a unit register holds, or nullopt when it is not known.
using RegisterSource = std::function<std::optional<uint16_t>(int reg)>;

// The whole file for a unit of `unitType` whose registers `source` gives:
// [StationType] Type, Description and Version, then the keys of the unit's
// family in table order, each the decimal text of its register. nullopt when
// the type is not 0, 1, 2 or 4 or a register the family saves has no value.
std::optional<std::string> conFileText(int unitType, const RegisterSource& source);

// Replaces the file at `path` with `text`, never leaving it half written.
// False when it could not be written; an earlier file then stays as it was.
bool writeConFile(const std::string& path, std::string_view text);

}  // namespace kvlink
