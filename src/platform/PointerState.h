#pragma once
// The mouse pointer as the program drives it: the application-wide pointer
// (hourglass or default), and the edit lock that pins and hides the pointer
// while a value is typed. Both are kept as state, so one "default" or one
// unlock always restores the pointer fully, however often it is called.
//
// The lock never grabs the mouse or the keyboard: it swallows mouse input
// aimed at the program's own windows and hides the pointer over them, so a
// hung program cannot freeze the desktop. On X11 the pointer is also put
// back to where it was pinned whenever it moves over a program window.

#include <QObject>
#include <QPoint>

namespace kvlink {

class PointerState : public QObject {
  Q_OBJECT
 public:
  PointerState() = default;
  ~PointerState() override;
  PointerState(const PointerState&) = delete;
  PointerState& operator=(const PointerState&) = delete;

  // Application-wide pointer: vbHourglass (11) or vbDefault (0).
  void setApplicationPointer(int value);
  int applicationPointer() const { return appPointer_; }

  // Edit lock.
  void savePosition();
  QPoint savedPosition() const { return saved_; }
  void lock();
  void unlock();
  void setVisible(bool visible);
  bool locked() const { return locked_; }
  bool hidden() const { return hidden_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyOverride();

  int appPointer_ = 0;
  bool locked_ = false;
  bool hidden_ = false;
  bool overrideSet_ = false;
  QPoint saved_;
};

}  // namespace kvlink
