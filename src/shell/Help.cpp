#include "Help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "Host.h"
#include "Program.h"

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

HelpWindow::HelpWindow(Program& program) : Form(program.host, QStringLiteral("HelpWindow")) {
  setWindowTitle(QStringLiteral("KV-LINK27 Help"));
  Text = new QTextBrowser(this);
  Text->setObjectName(QStringLiteral("Text"));
  Text->setOpenLinks(false);
  Text->document()->setDocumentMargin(12);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(Text);
  resize(720, 560);
}

bool HelpWindow::loadDocument(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  Text->setMarkdown(QString::fromUtf8(file.readAll()));
  return true;
}

void showHelpContents(Program& program) {
  const QString path = helpDocumentPath();
  if (path.isEmpty()) {
    MsgBox(program.host, QStringLiteral("The help document README.md was not found."),
           vbExclamation);
    return;
  }
  if (!program.HelpWindow().loadDocument(path)) {
    program.HelpWindow.Unload();
    MsgBox(program.host, QStringLiteral("The help document %1 cannot be read.").arg(path),
           vbExclamation);
    return;
  }
  program.HelpWindow().Show();
}

}  // namespace kvlink
