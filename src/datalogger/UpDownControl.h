#pragma once
// An up-down control: two small arrow buttons that step a whole number
// between a minimum and a maximum and show it in their buddy label.

#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace kvlink {

class UpDownControl : public QWidget {
  Q_OBJECT
 public:
  UpDownControl(QLabel* buddy, int minimum, int maximum, QWidget* parent);

  int value() const { return value_; }
  // Clamped to the range; the buddy shows the new value.
  void setValue(int value);
  void stepUp() { setValue(value_ + 1); }
  void stepDown() { setValue(value_ - 1); }

  QToolButton* upButton = nullptr;
  QToolButton* downButton = nullptr;

 signals:
  void valueChanged(int value);

 private:
  QLabel* buddy_;
  int minimum_;
  int maximum_;
  int value_;
};

}  // namespace kvlink
