// Renders the Auto Retrieve window to PNG files, for a look at its layout:
// autoretrieve_render <directory>. Not a test.
#include "AutoRetrieveModule.h"
#include "Form1.h"
#include "InstallAutoRetrieve.h"
#include "InstallPolling.h"
#include "MemoryLine.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "WindowImage.h"

using namespace kvlink;
using test::saveWindowImage;

int main(int argc, char** argv) {
  return test::renderWindows(argc, argv, [](const QString& dir) {
    ScriptedHost host;
    Program program(host, std::make_unique<test::MemoryLine>());
    installPolling(program);
    installAutoRetrieve(program);
    AutoRetrieveModule& m = program.module<AutoRetrieveModule>();
    AutoSave& window = m.AutoSave();
    saveWindowImage(window, dir, "autoretrieve-off");

    const int stations[] = {5, 9, 12};
    for (int k = 1; k <= 3; ++k) {
      window.slotCheck(k)->setChecked(true);
      window.slotUpDown(k)->setValue(stations[k - 1]);
    }
    window.Label9->setText("100");
    window.Label7->setText("/home/operator/relay-logs/substation-north");
    m.SuppressOptionEvents = 1;
    window.lockSettings();
    m.SuppressOptionEvents = 0;
    window.Label10->setText("Station#5  Count= 37");
    window.Label11->setText("Station#9  No response (or datalogging not present)");
    window.Label12->setText("Cannot open station12.txt (File may be open by another application)");
    saveWindowImage(window, dir, "autoretrieve");
    saveWindowImage(m.AutoSaveDir(), dir, "autoretrieve-directory");
  });
}
