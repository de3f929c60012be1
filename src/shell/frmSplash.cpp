#include "frmSplash.h"

#include <QFrame>
#include <QVBoxLayout>

#include "Program.h"
#include "Startup.h"

namespace kvlink {

frmSplash::frmSplash(Program& program)
    : Form(program.host, QStringLiteral("frmSplash")), program_(program) {
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
  setWindowTitle(QStringLiteral("KV-LINK27"));

  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::Box);
  frame->setLineWidth(2);

  lblProductName = new QLabel(QStringLiteral("KV-LINK27"), frame);
  lblProductName->setObjectName(QStringLiteral("lblProductName"));
  QFont title = lblProductName->font();
  title.setPointSizeF(title.pointSizeF() * 2.6);
  title.setBold(true);
  lblProductName->setFont(title);
  lblVersion = new QLabel(QStringLiteral("Version 1.54a"), frame);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblDescription = new QLabel(
      QStringLiteral("Watches and configures the protection relays on one serial line"), frame);
  lblDescription->setObjectName(QStringLiteral("lblDescription"));
  for (QLabel* label : {lblProductName, lblVersion, lblDescription})
    label->setAlignment(Qt::AlignCenter);

  auto* inner = new QVBoxLayout(frame);
  inner->setContentsMargins(36, 28, 36, 28);
  inner->setSpacing(10);
  inner->addWidget(lblProductName);
  inner->addWidget(lblVersion);
  inner->addSpacing(8);
  inner->addWidget(lblDescription);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(frame);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(2000);
  Timer1->setSingleShot(true);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  Timer1->start();
}

void frmSplash::Timer1_Timer() {
  Timer1->stop();
  Program& program = program_;
  ShowMainWindow(program);
  // Message boxes of the main window's load may have let this window be
  // unloaded meanwhile: ask the instance again.
  if (frmSplash* self = program.frmSplash.ifLoaded()) self->Hide();
}

}  // namespace kvlink
