#include "InstallShell.h"

#include "Form1.h"
#include "Program.h"
#include "Vercode.h"

namespace kvlink {

void installShell(Program& program) {
  Form1& form = program.Form1();
  const std::pair<QAction*, void (Form1::*)()> items[] = {
      {form.mnuFileExit, &Form1::mnuFileExit_Click},
      {form.mnuSetupSerial, &Form1::mnuSetupSerial_Click},
      {form.mnuSetupStation, &Form1::mnuSetupStation_Click},
      {form.mnuHelpContents, &Form1::mnuHelpContents_Click},
  };
  for (const auto& item : items) {
    const auto handler = item.second;
    QObject::connect(item.first, &QAction::triggered, &form,
                     [&form, handler] { (form.*handler)(); });
  }
  QObject::connect(form.mnuHelpUnitId, &QAction::triggered, &form,
                   [&program] { Form1_mnuHelpUnitId_Click(program); });
  QObject::connect(form.mnuHelpAbout, &QAction::triggered, &form,
                   [&program] { Form1_mnuHelpAbout_Click(program); });

  QObject::connect(form.Timer1, &QTimer::timeout, &form, [&program] {
    if (program.hooks.pollTick) program.hooks.pollTick();
  });
  QObject::connect(form.TimerCS, &QTimer::timeout, &form, [&program] {
    if (program.hooks.watchdogTick) program.hooks.watchdogTick();
  });
}

}  // namespace kvlink
