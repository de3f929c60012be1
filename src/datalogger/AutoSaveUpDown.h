#pragma once
// An up-down control with a label as its buddy: two arrow buttons step a
// value within a range, and the buddy shows it. The buddy may be given
// another text in code (a value restored from the settings file); the next
// arrow step starts from the value shown and lands on the step grid.

#include <QLabel>
#include <QToolButton>
#include <QWidget>

namespace kvlink {

class AutoSaveUpDown : public QWidget {
  Q_OBJECT
 public:
  AutoSaveUpDown(int value, int min, int max, int step, QLabel* buddy, QWidget* parent);

  int value() const { return value_; }
  int minimum() const { return min_; }
  int maximum() const { return max_; }
  int increment() const { return step_; }
  QLabel* buddy() const { return buddy_; }

  // Sets the value (kept within the range) and shows it in the buddy.
  void setValue(int value);
  // The arrows: one step up or down on the grid min, min + step, ...
  void stepUp();
  void stepDown();

  QToolButton* upArrow = nullptr;
  QToolButton* downArrow = nullptr;

 private:
  int value_;
  int min_;
  int max_;
  int step_;
  QLabel* buddy_;
};

}  // namespace kvlink
