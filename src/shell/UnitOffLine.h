#pragma once
// Whether the selected unit counts as off line, as every window that refuses
// to act on an off-line unit tells it.

namespace kvlink {

class Program;

// The unit counts as off line when the Display menu is disabled or the last
// poll pass found the selected station silent (PollStatus 1 or 3).
bool UnitOffLine(Program& program);

}  // namespace kvlink
