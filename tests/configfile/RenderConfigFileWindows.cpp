// Renders the configuration-file windows to PNG files, for a look at their
// layout: configfile_screens <directory>. Not a test.
#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QTemporaryDir>

#include "ConfigFileModule.h"
#include "Form1.h"
#include "InstallConfigFile.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "link/LinkLibrary.h"

using namespace kvlink;

namespace {

class NoLine : public LinkLibrary {
 public:
  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int WriteInfo(int, int, int, int32_t) override { return 36; }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int abWriteInfo(int, int, int, int32_t) override { return 36; }
};

// The window at its size as first laid out, as an operator sees it when
// its texts change while it is open.
void save(QWidget& window, const QString& dir, const QString& name) {
  if (!window.property("laidOut").toBool()) {
    window.adjustSize();
    window.setProperty("laidOut", true);
  }
  window.layout()->activate();
  window.grab().save(QDir(dir).filePath(QStringLiteral("configfile-") + name + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QTemporaryDir settings;
  qputenv("KVLINK_WINDIR", settings.path().toLocal8Bit());
  ScriptedHost host;
  Program program(host, std::make_unique<NoLine>());
  installConfigFile(program);
  ConfigFileModule& files = configFileModule(program);

  save(files.FormSaveInfo(), dir, "FormSaveInfo");
  save(files.ConfigWarning(), dir, "ConfigWarning");

  FormConfig& wizard = files.FormConfig();
  wizard.showStep(1);
  save(wizard, dir, "FormConfig-step1");
  wizard.Label3->show();
  save(wizard, dir, "FormConfig-offline");
  wizard.showStep(2);
  wizard.Label6->setText(QStringLiteral("Attempting Mode 8 Level 2:12"));
  wizard.Label7->setText(QStringLiteral("Written successfully"));
  save(wizard, dir, "FormConfig-sending");
  wizard.Label4->show();
  wizard.Label6->clear();
  wizard.Label7->clear();
  save(wizard, dir, "FormConfig-wrong-type");
  wizard.showStep(2);
  wizard.Label6->setText(QStringLiteral("Attempting Undercurrent Alarm:105"));
  wizard.Label7->setText(QStringLiteral("Failed to verify.Halt"));
  save(wizard, dir, "FormConfig-failed");

  program.Form1().adjustSize();
  program.Form1().mnuFile->popup(QPoint(0, 0));
  program.Form1().mnuFile->grab().save(QDir(dir).filePath("configfile-file-menu.png"));
  return 0;
}
