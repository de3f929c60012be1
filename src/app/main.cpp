// KV-LINK27: watches and configures the protection relays on one serial line.
#include <QApplication>

#include "Form1.h"
#include "Install.h"
#include "Program.h"
#include "QtHost.h"
#include "SerialLinkLibrary.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KV-LINK27"));
  kvlink::QtHost host;
  kvlink::Program program(host, std::make_unique<kvlink::SerialLinkLibrary>());
  kvlink::installSubsystems(program);
  program.Form1().Show();
  return app.exec();
}
