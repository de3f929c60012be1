#include "Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "Host.h"

namespace kvlink {

QString helpDocumentPath() {
  const QString appDir = QCoreApplication::applicationDirPath();
  const QString candidates[] = {
      appDir + QStringLiteral("/README.md"),
      appDir + QStringLiteral("/../share/doc/kv-link27/README.md"),
      QStringLiteral(KVLINK_SOURCE_README),
  };
  for (const QString& candidate : candidates) {
    const QFileInfo info(candidate);
    if (info.isFile()) return QDir::cleanPath(info.absoluteFilePath());
  }
  return {};
}

void showHelpContents(Host& host) {
  const QString path = helpDocumentPath();
  if (path.isEmpty()) {
    MsgBox(host, QStringLiteral("The help document README.md was not found."), vbExclamation);
    return;
  }
  if (!host.openDocument(path))
    MsgBox(host, QStringLiteral("No viewer could be started for %1.").arg(path), vbExclamation);
}

}  // namespace kvlink
