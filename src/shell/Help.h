#pragma once
// Help > Contents: the program's own documentation, README.md, installed with
// the program and shown rendered in a window of the program, so that no
// outside viewer is needed. Opening the link closes it, as it closes the help
// viewer.

#include <QString>

#include "Form.h"

class QTextBrowser;

namespace kvlink {

class Program;

// The README.md that belongs to this program: next to the executable, in
// ../share/doc/kv-link27 of its directory, or in the source tree it was built
// from. Empty when none of them exists.
QString helpDocumentPath();

class HelpWindow : public Form {
  Q_OBJECT
 public:
  explicit HelpWindow(Program& program);

  // Shows the Markdown file `path` rendered; false when it cannot be read.
  bool loadDocument(const QString& path);

  QTextBrowser* Text = nullptr;
};

// Shows the README in the help window, or tells the operator why it cannot.
void showHelpContents(Program& program);

}  // namespace kvlink
