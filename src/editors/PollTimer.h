#pragma once
// The editors stop the one-second poll while the operator works in them and
// let it run again afterwards, but only while the link is open and no field
// edit is in progress: a closed link stays unpolled, and an edit keeps its
// box free of poll updates.

namespace kvlink {

class Program;

void stopPoll(Program& program);
bool linkIsOpen(Program& program);
void resumePoll(Program& program);

}  // namespace kvlink
