#include "InstallStatus.h"

#include <QEvent>

#include "Form1.h"
#include "PollingModule.h"
#include "StatusModule.h"

namespace kvlink {

namespace {

// Double-clicks on the main window's trip/alarm status frame and text.
class TripAlarmStatusOpener : public QObject {
 public:
  TripAlarmStatusOpener(Program& program, QObject* parent) : QObject(parent), program_(program) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonDblClick) return false;
    kvlink::Form1& main = program_.Form1();
    if (watched == main.Label3)
      Form1_Label3_DblClick(program_);
    else
      Form1_Frame3D3_DblClick(program_);
    return true;
  }

 private:
  Program& program_;
};

}  // namespace

void installStatus(Program& program) {
  auto module = std::make_unique<StatusModule>(program);
  StatusModule& status = *module;
  program.addModule(std::move(module));
  program.addWindowKind(&status.generalStatus);
  program.addWindowKind(&status.preTrip);
  program.addWindowKind(&status.networkSummary);

  program.hooks.showGeneralStatusAfterOpen = [&program] { showGeneralStatusAfterOpen(program); };
  program.hooks.passwordDestroyed = [&program] { showPasswordDestroyed(program); };
  if (auto* polling = program.findModule<PollingModule>())
    polling->networkSummaryStep = [&program] { NetworkSummaryStep(program); };

  kvlink::Form1& main = program.Form1();
  QObject::connect(main.mnuDisplayMeter, &QAction::triggered, &main,
                   [&program] { Form1_mnuDisplayMeter_Click(program); });
  QObject::connect(main.menuDisplayNetworkSummary, &QAction::triggered, &main,
                   [&program] { Form1_menuDisplayNetworkSummary_Click(program); });
  auto* opener = new TripAlarmStatusOpener(program, &main);
  main.Frame3D3->installEventFilter(opener);
  main.Label3->installEventFilter(opener);
}

}  // namespace kvlink
