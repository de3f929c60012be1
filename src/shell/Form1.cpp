#include "Form1.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "Controls.h"
#include "Form16.h"
#include "Form9.h"
#include "Help.h"
#include "Host.h"
#include "Program.h"
#include "SettingsFile.h"
#include "Startup.h"

namespace kvlink {

namespace {

struct ItemDesign {
  QAction* Form1::*member;
  const char* name;
  const char* caption;
};

struct MenuDesign {
  QMenu* Form1::*member;
  const char* name;
  const char* caption;
  std::vector<ItemDesign> items;
};

// The menu bar, in the order it shows.
const std::vector<MenuDesign>& menuDesign() {
  static const std::vector<MenuDesign> menus = {
      {&Form1::mnuFile,
       "mnuFile",
       "&File",
       {{&Form1::mnuopen, "mnuopen", "Quick &Configure"},
        {&Form1::mnusaveset, "mnusaveset", "&Save Set Point Info"},
        {&Form1::mnuFileExit, "mnuFileExit", "E&xit"}}},
      {&Form1::mnuSetup,
       "mnuSetup",
       "&Setup",
       {{&Form1::mnuSetupSerial, "mnuSetupSerial", "Serial &Communications..."},
        {&Form1::mnuSetupStation, "mnuSetupStation", "Select S&tation..."}}},
      {&Form1::mnuDisplay,
       "mnuDisplay",
       "&Display",
       {{&Form1::mnuDisplayMeter, "mnuDisplayMeter", "&General Status"},
        {&Form1::mnuDisplaySet, "mnuDisplaySet", "&Set Points"},
        {&Form1::mnuDisplayCT, "mnuDisplayCT", "&CT and Misc Settings"},
        {&Form1::menuDisplayTripsAlarms, "menuDisplayTripsAlarms", "&Trips and Alarms"},
        {&Form1::mnuDisplayPretrip, "mnuDisplayPretrip", "Pre-Trip Values"}}},
      {&Form1::mnuDataLogging,
       "mnuDataLogging",
       "Data &Logging",
       {{&Form1::mnuConfigure, "mnuConfigure", "Configure"},
        {&Form1::mnuRetrieve, "mnuRetrieve", "Retrieve Data"},
        {&Form1::mnuautoretrieve, "mnuautoretrieve", "Auto Retrieve Setup"}}},
      {&Form1::menuDisplayNetworkSum,
       "menuDisplayNetworkSum",
       "&Network",
       {{&Form1::menuDisplayNetworkSummary, "menuDisplayNetworkSummary", "Network Summary"}}},
      {&Form1::mnuHelp,
       "mnuHelp",
       "&Help",
       {{&Form1::mnuHelpContents, "mnuHelpContents", "&Contents"},
        {&Form1::mnuHelpUnitId, "mnuHelpUnitId", "Unit &Identification..."},
        {&Form1::mnuHelpAbout, "mnuHelpAbout", "&About KV-LINK27"}}},
  };
  return menus;
}

}  // namespace

Form1::Form1(Program& program) : Form(program.host, QStringLiteral("Form1")), program_(program) {
  buildDesign();
}

void Form1::buildDesign() {
  setWindowTitle(kMainCaption);

  auto* layout = new QVBoxLayout(this);
  menuBar = new QMenuBar(this);
  layout->setMenuBar(menuBar);

  for (const MenuDesign& design : menuDesign()) {
    QMenu* menu = menuBar->addMenu(QString::fromUtf8(design.caption));
    menu->setObjectName(QString::fromUtf8(design.name));
    this->*design.member = menu;
    for (const ItemDesign& item : design.items) {
      QAction* action = menu->addAction(QString::fromUtf8(item.caption));
      action->setObjectName(QString::fromUtf8(item.name));
      this->*item.member = action;
    }
  }
  mnuFile->insertSeparator(mnuFileExit);

  Frame3D1 = makeFrame(this, "Frame3D1", "Runtime Status");
  Label1 = makeLabel(Frame3D1, "Label1", QString());
  Label1->setAlignment(Qt::AlignCenter);
  QFont big = Label1->font();
  big.setPointSizeF(big.pointSizeF() * 1.4);
  big.setBold(true);
  Label1->setFont(big);
  (new QVBoxLayout(Frame3D1))->addWidget(Label1);

  Frame3D2 = makeFrame(this, "Frame3D2", "Station");
  Label2 = makeLabel(Frame3D2, "Label2", QString());
  Label2->setFont(big);
  Label2->setAlignment(Qt::AlignCenter);
  Label11 = makeLabel(Frame3D2, "Label11", QString());
  Label11->setAlignment(Qt::AlignCenter);
  auto* stationLayout = new QVBoxLayout(Frame3D2);
  stationLayout->addWidget(Label2);
  stationLayout->addWidget(Label11);

  Frame3D3 = makeFrame(this, "Frame3D3", "Trip/Alarm Status");
  Label3 = makeLabel(Frame3D3, "Label3", QStringLiteral("N/A"));
  Label3->setAlignment(Qt::AlignCenter);
  Label3->setFont(big);
  (new QVBoxLayout(Frame3D3))->addWidget(Label3);

  Command3D1 = new QPushButton(QStringLiteral("RESET Menu"), this);
  Command3D1->setObjectName(QStringLiteral("Command3D1"));

  Label12 = makeLabel(this, "Label12", QString());

  auto* grid = new QGridLayout();
  grid->addWidget(Frame3D1, 0, 0);
  grid->addWidget(Frame3D2, 0, 1);
  grid->addWidget(Frame3D3, 1, 0, 1, 2);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  layout->addLayout(grid);
  auto* bottom = new QHBoxLayout();
  bottom->addWidget(Label12, 1);
  bottom->addWidget(Command3D1);
  layout->addLayout(bottom);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  TimerCS = new QTimer(this);
  TimerCS->setObjectName(QStringLiteral("TimerCS"));
  TimerCS->setInterval(3000);
  TimerCS->start();

  resize(520, 300);
}

void Form1::showStation(int16_t station, const QString& name) {
  Label2->setText(QString::number(station));
  setElidedText(Label11, name, kStationNameShownChars);
}

void Form1::showCommNotEnabled() {
  Label1->setText(program_.linkState.serialKeysMissing ? kSerialNotSetUp : kCommNotEnabled);
}

void Form1::mnuFileExit_Click() {
  program_.Form1.Unload();
}

void Form1::mnuSetupSerial_Click() {
  program_.Form16().showSettings();
  program_.Form16().Show();
}

void Form1::mnuSetupStation_Click() {
  program_.Form9().showCurrentStation();
  program_.Form9().Show(true);
}

void Form1::mnuHelpContents_Click() {
  showHelpContents(program_);
}

void Form1::Form_Unload() {
  Timer1->stop();
  TimerCS->stop();
  EndProgram(program_);
}

}  // namespace kvlink
