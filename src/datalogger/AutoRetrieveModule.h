#pragma once
// Auto retrieve: the settings window, its directory chooser and the
// variables the poll's auto-retrieve step works from.

#include <array>
#include <cstdint>

#include "AutoSave.h"
#include "AutoSaveDir.h"
#include "DefaultInstance.h"
#include "Program.h"

namespace kvlink {

class AutoRetrieveModule : public Module {
 public:
  explicit AutoRetrieveModule(Program& program);
  ~AutoRetrieveModule() override;

  // The destination directory the window showed when it was unloaded; a
  // window created again shows it in place of its design value. (Declared
  // before the windows, which write it as they go.)
  QString AutoDirectory;

  DefaultInstance<kvlink::AutoSave> AutoSave;
  DefaultInstance<kvlink::AutoSaveDir> AutoSaveDir;

  // The station numbers in list order; 0 .. AutoStationCount - 1 in use.
  std::array<int16_t, 6> AutoStations{};
  // 0 = auto retrieve off, else 1 to 5 stations.
  int16_t AutoStationCount = 0;
  // The list position the next step handles.
  int16_t AutoStationIndex = 0;
  // The record count at which a station's records are saved.
  int16_t AutoRecordLimit = 0;
  // Unit type of the station the step works on (99: not identified).
  int16_t AutoUnitType = 0;
  // That station's record counter as the unit holds it (0 to 65535).
  int32_t AutoRecordCount = 0;
  // 1 while start-up sets the window's option buttons.
  int16_t SuppressOptionEvents = 0;
  // Set by the window's timer, cleared by every step; read nowhere.
  bool AutoRetrieveDue = false;

  void unloadWindows() override;
};

// Data Logging > "Auto Retrieve Setup": shows the window, no password.
void Form1_mnuautoretrieve_Click(Program& program);

}  // namespace kvlink
