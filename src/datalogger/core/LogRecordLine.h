#pragma once
// The record text format shared by the saved record file (*.TXT) and the
// auto-retrieve files (station<N>.txt): comma-separated fields, texts in
// double quotes, integers as bare decimal digits, every line ended by CR LF.
// One header line of quoted field names per family (unit types 0 and 2 the
// motor family, every other code the feeder family), then one line per
// record from the decoded log record.

#include <cstdint>
#include <string>
#include <string_view>

#include "LogRecordValues.h"

namespace kvlink {

inline constexpr std::string_view kLogLineEnd = "\r\n";

// The line written to an auto-retrieve file in place of a record that could
// not be read.
inline constexpr std::string_view kLogReadErrorText =
    "Could not read info from unit (Unit may be off). Will Retry.";

// Each of these returns a whole line, CR LF included.
std::string logHeaderLine(int16_t unitType);
std::string logRecordLine(const LogRecordValues& values, int16_t unitType);
std::string logReadErrorLine();
// Whether a count on the file is exact or only a bound of the truth.
enum class CountBound { Exact, AtMost, AtLeast };
// "at most " / "at least " before a count that is only a bound.
std::string_view countBoundText(CountBound bound);

// "Records lost: <count> (logged faster than they could be read)": records the
// unit overwrote, or logged faster than the line could read them, before
// they were saved; "Records lost: at most <count> ..." where the unit cannot
// tell how many of them were saved before, "at least" past a full counter.
std::string logRecordsLostLine(long count, CountBound bound = CountBound::Exact);
// "Records doubtful: <count> (these may already be saved above)": the records
// that follow may repeat ones saved before; the unit could not tell.
std::string logRecordsDoubtfulLine(long count);
// "Record counter changed by another program or a unit restart: records
// logged before this line may be missing".
std::string logCounterChangedLine();

// The record's time stamp as year, month, day, hour, minute, second: later
// times sort later as text.
std::string logTimeOrder(const LogRecordValues& values);

// The time order of a record line as logTimeOrder() gives it; empty for any
// other line (the header, an error line, a "Records lost" line).
std::string logTimeOrderOfLine(std::string_view line);

// The first field of a record line: "dd/mm/yyyy  hh:mm:ss Weekday".
std::string logTimeField(const LogRecordValues& values);

}  // namespace kvlink
