#pragma once
// How many records Save Records writes, and the progress bar's maximum.

#include <cstdint>
#include <optional>

namespace kvlink {

enum class LogSaveChoice {
  AllLogged,  // the record counter, at most 250
  Only,       // the number chosen in the window, 1..250
  All250,     // 250, whatever the counter
};

// Records 0..N-1 are saved. Nothing for "all logged" with a counter of 0.
// The chosen number is kept within 1..250.
std::optional<int> logSaveCount(LogSaveChoice choice, int counter, int chosen);

// 1 for a single record, else N - 1.
int logSaveProgressMaximum(int count);

}  // namespace kvlink
