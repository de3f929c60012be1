#pragma once
// Installs auto retrieve: the Auto Retrieve window behind Data Logging >
// "Auto Retrieve Setup", the start-up restore of its settings and the poll's
// auto-retrieve step.

namespace kvlink {

class Program;

void installAutoRetrieve(Program& program);

}  // namespace kvlink
