#pragma once
// The two pre-trip windows, one per unit family: "RVX Pre-Trip Display"
// (Form4) and "GLT / ZUDO Pre-Trip Display" (Form34). One framed value per
// pre-trip quantity under a top strip; no command opens them and nothing
// writes values into them.

#include <QLabel>
#include <QPushButton>
#include <vector>

#include "Controls.h"
#include "Form.h"

namespace kvlink {

class Program;

class PreTripForm : public Form {
  Q_OBJECT
 public:
  struct FrameDesign {
    const char* caption;    // with a gap where a small label stands in
    const char* valueName;  // the value label's design name
    const char* markName;   // the small label in the caption gap, or nullptr
    const char* markText;   // "o" (degree sign) or "2" (superscript)
    const char* gapAfter;   // the caption text before the gap
  };

  PreTripForm(Program& program, const QString& designName, const QString& caption,
              const std::vector<FrameDesign>& frames);

  QLabel* Label9 = nullptr;  // top strip
  QPushButton* Command1 = nullptr;
  std::vector<QGroupBox*> frames;
  std::vector<QLabel*> values;  // in frame order
  std::vector<QLabel*> marks;   // small caption labels, in frame order (may be null)

  // A control by its design name (value and mark labels).
  QLabel* label(const QString& designName) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  Program& program_;

 private:
  void placeMarks();
  std::vector<FrameDesign> design_;
};

class Form4 : public PreTripForm {
  Q_OBJECT
 public:
  explicit Form4(Program& program);
  void Command1_Click();
  void Form_Unload() override;
};

class Form34 : public PreTripForm {
  Q_OBJECT
 public:
  explicit Form34(Program& program);
  void Form_Unload() override;
};

}  // namespace kvlink
