#include "SetPointWindows.h"

namespace kvlink {

void FORM35::applyUnitType(int unitType) {
  const FeederCaptions* captions = feederCaptionsFor(unitType);
  if (!captions) return;
  setWindowTitle(QString::fromUtf8(captions->title));
  heading("Label1")->setText(QString::fromUtf8(captions->label1));
  heading("Label6")->setText(QString::fromUtf8(captions->label6));
  heading("Label22")->setVisible(captions->superscriptVisible);
  for (const char* name : kFeederTypedDeleteButtons)
    if (auto* button = findChild<QPushButton*>(QString::fromUtf8(name)))
      button->setVisible(captions->deleteButtonsVisible);
}

}  // namespace kvlink
