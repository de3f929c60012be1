#include "AutoSaveUpDown.h"

#include <QVBoxLayout>
#include <algorithm>

namespace kvlink {

AutoSaveUpDown::AutoSaveUpDown(int value, int min, int max, int step, QLabel* buddy,
                               QWidget* parent)
    : QWidget(parent), value_(value), min_(min), max_(max), step_(step), buddy_(buddy) {
  upArrow = new QToolButton(this);
  upArrow->setArrowType(Qt::UpArrow);
  upArrow->setAutoRepeat(true);
  downArrow = new QToolButton(this);
  downArrow->setArrowType(Qt::DownArrow);
  downArrow->setAutoRepeat(true);
  for (QToolButton* arrow : {upArrow, downArrow}) {
    arrow->setFixedSize(18, 11);
    arrow->setFocusPolicy(Qt::NoFocus);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(upArrow);
  layout->addWidget(downArrow);
  connect(upArrow, &QToolButton::clicked, this, [this] { stepUp(); });
  connect(downArrow, &QToolButton::clicked, this, [this] { stepDown(); });
  setValue(value);
}

void AutoSaveUpDown::setValue(int value) {
  value_ = std::clamp(value, min_, max_);
  if (buddy_) buddy_->setText(QString::number(value_));
}

namespace {

// The value the buddy shows, when it is a number; else the control's own.
int shownValue(const QLabel* buddy, int own) {
  bool ok = false;
  const int shown = buddy ? buddy->text().toInt(&ok) : own;
  return ok ? shown : own;
}

}  // namespace

void AutoSaveUpDown::stepUp() {
  const int from = std::clamp(shownValue(buddy_, value_), min_, max_);
  const int onGrid = min_ + (from - min_) / step_ * step_;
  setValue(onGrid + step_);
}

void AutoSaveUpDown::stepDown() {
  const int from = std::clamp(shownValue(buddy_, value_), min_, max_);
  const int onGrid = min_ + (from - min_) / step_ * step_;
  setValue(onGrid == from ? from - step_ : onGrid);
}

}  // namespace kvlink
