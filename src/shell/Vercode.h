#pragma once
// Unit identification: what the selected unit says of itself (its type from
// the identification word, register 39, whether it carries a data logger,
// and its firmware revision, register 43), read once when the window opens
// with the poll paused; and the about box.

#include <QLabel>
#include <QPushButton>
#include <cstdint>
#include <optional>

#include "Form.h"

namespace kvlink {

class Program;

// What registers 39 to 43 tell of a unit.
struct UnitIdentity {
  int16_t unitType = 99;  // 0, 1, 2, 4; 99 when the code is none of these
  bool dataLogger = false;
  uint16_t firmwareRevision = 0;
};
UnitIdentity identifyUnit(uint16_t idWord, uint16_t firmwareWord);
// "RVX-38B motor protection relay", ...; "Unknown unit type (code n)" else.
QString unitTypeName(int16_t unitType, uint16_t idWord);

class frmUnitId : public Form {
  Q_OBJECT
 public:
  explicit frmUnitId(Program& program);

  QLabel* Label1 = nullptr;         // station
  QLabel* Label2 = nullptr;         // unit type
  QLabel* Label3 = nullptr;         // data logger
  QLabel* Label4 = nullptr;         // firmware revision
  QPushButton* Command1 = nullptr;  // "Close"

  // Reads the current station; false (nothing shown) when it did not answer.
  bool readUnit();
  void Command1_Click();
  void Form_Unload() override;

 private:
  Program& program_;
};

class frmAbout : public Form {
  Q_OBJECT
 public:
  explicit frmAbout(Program& program);
  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;  // "OK"
};

// Help > "Unit &Identification...": pauses the poll, reads the unit and shows
// what it is; "Unit off-line...Check connections" when the link is closed or
// the unit does not answer. Closing gives the poll back when the link is up.
void Form1_mnuHelpUnitId_Click(Program& program);
// Help > "&About KV-LINK27".
void Form1_mnuHelpAbout_Click(Program& program);

}  // namespace kvlink
