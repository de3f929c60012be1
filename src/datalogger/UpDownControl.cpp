#include "UpDownControl.h"

#include <QVBoxLayout>

namespace kvlink {

UpDownControl::UpDownControl(QLabel* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum), value_(minimum) {
  bool ok = false;
  const int shown = buddy_->text().toInt(&ok);
  if (ok) value_ = std::clamp(shown, minimum_, maximum_);

  upButton = new QToolButton(this);
  upButton->setArrowType(Qt::UpArrow);
  downButton = new QToolButton(this);
  downButton->setArrowType(Qt::DownArrow);
  for (QToolButton* button : {upButton, downButton}) {
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(18, 12);
  }
  connect(upButton, &QToolButton::clicked, this, [this] { stepUp(); });
  connect(downButton, &QToolButton::clicked, this, [this] { stepDown(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(upButton);
  layout->addWidget(downButton);
  setFocusPolicy(Qt::NoFocus);
}

void UpDownControl::setValue(int value) {
  value = std::clamp(value, minimum_, maximum_);
  if (value == value_ && buddy_->text() == QString::number(value)) return;
  value_ = value;
  buddy_->setText(QString::number(value_));
  emit valueChanged(value_);
}

}  // namespace kvlink
