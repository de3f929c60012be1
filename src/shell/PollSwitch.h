#pragma once
// The one rule that switches the one-second poll off and on. Whatever must
// not be polled under (a field edit, a Delete question, the program-mode
// window, a quick configuration download, the logger windows, the unit
// identification) holds the poll: taking a hold stops it, and it runs again
// only once every holder has let go of its own hold, the link is open and the
// program is not ending.

#include <cstdint>

namespace kvlink {

class Program;

enum class PollHolder : uint8_t {
  FieldEdit = 1 << 0,
  DeleteQuestion = 1 << 1,
  ProgramMode = 1 << 2,
  Download = 1 << 3,
  LoggerConfigure = 1 << 4,
  LoggerRecords = 1 << 5,
  UnitId = 1 << 6,
};

// Takes the holder's hold and stops the poll.
void HoldPoll(Program& program, PollHolder holder);
// Lets go of the holder's hold, then RestartPollIfIdle.
void ReleasePoll(Program& program, PollHolder holder);

// Switches the poll on again only while the link is open, nothing holds it
// and the program is not ending.
void RestartPollIfIdle(Program& program);

// Keeps the holder's hold for the length of a scope.
class PollHold {
 public:
  PollHold(Program& program, PollHolder holder) : program_(program), holder_(holder) {
    HoldPoll(program_, holder_);
  }
  ~PollHold() { ReleasePoll(program_, holder_); }
  PollHold(const PollHold&) = delete;
  PollHold& operator=(const PollHold&) = delete;

 private:
  Program& program_;
  PollHolder holder_;
};

}  // namespace kvlink
