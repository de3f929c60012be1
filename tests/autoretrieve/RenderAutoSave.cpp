// Renders the Auto Retrieve window to PNG files, for a look at its layout:
// autoretrieve_render <directory>. Not a test.
#include <QApplication>
#include <QDir>

#include "AutoRetrieveModule.h"
#include "Form1.h"
#include "InstallAutoRetrieve.h"
#include "InstallPolling.h"
#include "LoggerLink.h"
#include "Program.h"
#include "ScriptedHost.h"

using namespace kvlink;

namespace {

void save(QWidget& window, const QString& dir, const QString& name) {
  window.adjustSize();
  window.grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  ScriptedHost host;
  Program program(host, std::make_unique<test::LoggerLink>());
  installPolling(program);
  installAutoRetrieve(program);
  AutoRetrieveModule& m = program.module<AutoRetrieveModule>();
  AutoSave& window = m.AutoSave();
  save(window, dir, "autoretrieve-off");

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
  save(window, dir, "autoretrieve");
  save(m.AutoSaveDir(), dir, "autoretrieve-directory");
  return 0;
}
