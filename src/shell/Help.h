#pragma once
// Help > Contents: the program's own documentation, README.md, installed
// with the program, opened in the desktop's viewer.

#include <QString>

namespace kvlink {

class Host;

// The README.md that belongs to this program: next to the executable, in
// ../share/doc/kv-link27 of its directory, or in the source tree it was built
// from. Empty when none of them exists.
QString helpDocumentPath();

// Opens it, or tells the operator why it cannot.
void showHelpContents(Host& host);

}  // namespace kvlink
