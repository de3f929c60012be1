// Not a test: renders the shell's windows to PNG files for the documentation.
//   render_shell_windows <directory>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "Form1.h"
#include "Form16.h"
#include "Form9.h"
#include "Help.h"
#include "InstallShell.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SettingsFile.h"
#include "Startup.h"
#include "Vercode.h"
#include "frmSplash.h"
#include "link/SerialLinkLibrary.h"
#include "platform/Profile.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]);
  QTemporaryDir settings;
  setenv("KVLINK_WINDIR", settings.path().toLocal8Bit().constData(), 1);
  using namespace kvlink;
  WriteIni(kSettingsSection, kStationKey, "12", kSettingsFile);
  WriteIni(kStationSection, "station12", "Pump house feeder 4", kSettingsFile);

  ScriptedHost host;
  Program program(host, std::make_unique<SerialLinkLibrary>());
  installShell(program);
  Form1_Form_Load(program);

  auto save = [&](QWidget& window, const char* name) {
    window.show();
    QCoreApplication::processEvents();
    window.grab().save(out + QLatin1Char('/') + QLatin1String(name));
  };
  save(program.Form1(), "Form1.png");
  program.Form16().SSCheck1->setChecked(true);
  save(program.Form16(), "Form16.png");
  program.Form9().showCurrentStation();
  save(program.Form9(), "Form9.png");
  save(program.frmSplash(), "frmSplash.png");
  frmUnitId& unitId = program.frmUnitId();
  unitId.Label1->setText("4");
  unitId.Label2->setText(unitTypeName(4, 0x0440));
  unitId.Label3->setText("present");
  unitId.Label4->setText("205");
  save(unitId, "frmUnitId.png");
  save(program.frmAbout(), "frmAbout.png");
  showHelpContents(program);
  save(program.HelpWindow(), "HelpWindow.png");
  program.frmSplash().Timer1->stop();
  return 0;
}
