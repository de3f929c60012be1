#pragma once
// While a box is open, the toolkit drops unseen the keys and clicks the
// window system still has for the program's other windows: input made while
// the program was busy, before the box appeared. One beep says so, once per
// box; a window whose input is held drops such input with what it kept, and
// its one beep (InputHold).

#include <QAbstractNativeEventFilter>

class QWidget;

namespace kvlink {

class Host;

class LostToBoxBeep : private QAbstractNativeEventFilter {
 public:
  LostToBoxBeep(const QWidget& box, Host& host);
  ~LostToBoxBeep() override;

 private:
  bool nativeEventFilter(const QByteArray& kind, void* message, qintptr* result) override;

  const QWidget& box_;
  Host& host_;
  bool rung_ = false;
};

}  // namespace kvlink
