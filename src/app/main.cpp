// KV-LINK27: watches and configures the protection relays on one serial line.
#include <QApplication>

#include "Install.h"
#include "Program.h"
#include "QtHost.h"
#include "Startup.h"
#include "link/SerialLinkLibrary.h"
#include "platform/RuntimeDirectory.h"
#include "platform/SingleInstanceLock.h"

int main(int argc, char** argv) {
  kvlink::provideRuntimeDirectory();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("KV-LINK27"));
  kvlink::QtHost host;
  kvlink::Program program(host, std::make_unique<kvlink::SerialLinkLibrary>());
  program.quit = [] { QCoreApplication::quit(); };
  kvlink::installSubsystems(program);
  kvlink::SingleInstanceLock lock;
  switch (kvlink::StartProgram(program, lock)) {
    case kvlink::StartResult::Started:
      return app.exec();
    case kvlink::StartResult::AlreadyRunning:
      return 0;
    case kvlink::StartResult::Failed:
      break;
  }
  return 1;
}
