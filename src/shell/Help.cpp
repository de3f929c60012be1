#include "Help.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <memory>

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

namespace {

// Where the document's longest unbreakable line (a line of a code block) ends.
qreal widestUnbreakableLine(const QTextDocument& document) {
  // A copy laid out on a page wide enough for any line.
  const std::unique_ptr<QTextDocument> copy(document.clone());
  copy->setTextWidth(1e6);
  copy->documentLayout()->documentSize();
  qreal widest = 0;
  for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
    const QTextLayout* layout = block.layout();
    if (!layout || !block.blockFormat().nonBreakableLines()) continue;
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      widest = std::max(widest, layout->position().x() + line.x() + line.naturalTextWidth());
    }
  }
  return widest;
}

}  // namespace

bool HelpWindow::loadDocument(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  Text->setMarkdown(QString::fromUtf8(file.readAll()));
  // Wide enough that no line of a code block is cut; the screen bounds it
  // when the window is first shown.
  QTextDocument& document = *Text->document();
  const int needed = int(std::ceil(widestUnbreakableLine(document) + document.documentMargin())) +
                     2 * Text->frameWidth() +
                     Text->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, Text) + 4;
  if (needed > width()) resize(needed, height());
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
