#pragma once
// Keeps a window still without greying it: while the hold is on, keys,
// clicks, wheel turns and the close box meant for the window are kept back,
// and once the hold ends they are given to the window in the order they came,
// keys to whatever control has the focus then. The window keeps its look and
// its focus throughout.

#include <QObject>
#include <QPointer>
#include <deque>
#include <memory>

class QEvent;
class QWidget;

namespace kvlink {

class InputHold : public QObject {
 public:
  explicit InputHold(QWidget& window);
  ~InputHold() override;

  void setHeld(bool on);
  bool held() const { return held_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Kept {
    QPointer<QObject> receiver;  // the window's QWindow or one of its controls
    std::unique_ptr<QEvent> event;
  };

  bool keeps(QObject* watched, const QEvent* event) const;
  void replay();
  bool blockedByModal() const;
  void deliver(Kept& kept);
  void watchInput(bool on);

  QWidget& window_;
  bool held_ = false;
  bool watching_ = false;
  bool replayDue_ = false;
  bool replaying_ = false;
  std::deque<Kept> kept_;
};

}  // namespace kvlink
