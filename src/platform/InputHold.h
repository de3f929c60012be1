#pragma once
// Keeps a window still without greying it: while the hold is on, keys,
// clicks, wheel turns and the close box meant for the window are kept back.
// Once the hold ends they are acted on in the order they came, each as the
// operator made it: a click on the control it was made on, at the place it
// was made, wherever the pointer is by then; keys on whatever control has the
// focus then. Input that comes while kept input waits goes behind it.
//
// A kept press is given to the window as the toolkit's own press, so the
// control it was made on holds the mouse; its release, kept or made after
// the hold, completes that click once, or lets go of the control without a
// click where the press would no longer act as made.
//
// Kept input is dropped, with a beep, when meanwhile the station or the link
// changed (the host's input context), a modal window opened, or the control
// it was made on can no longer be used (hidden, disabled, another control in
// its place). Whatever follows dropped input is dropped with it: it was made
// after it, on what it would have done. Input the window system had for the
// window while a box blocked it is dropped the same way: the toolkit drops it
// unseen. The second half of a double-click is nothing lost where its first
// half acted; nothing else is dropped without the one beep.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

class QEvent;

namespace kvlink {

class Host;

class InputHold : public QObject, private QAbstractNativeEventFilter {
 public:
  InputHold(QWidget& window, Host& host);
  ~InputHold() override;

  void setHeld(bool on);
  bool held() const { return held_; }
  // Held, or kept input still waits: input lost to a box is dropped here.
  bool keepsInput() const { return held_ || !kept_.empty(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // One piece of input as it was made: what it was, where, on which control,
  // and in which state of the program. An event of type None stands for
  // input the toolkit dropped because a box blocked the window.
  struct Kept {
    std::unique_ptr<QEvent> event;  // keys and the close box; clicks are rebuilt
    QPointer<QWidget> control;      // the control a click or turn was made on
    QPointF atWindow;
    QPointF onScreen;
    uint64_t context = 0;
    uint64_t modalsShown = 0;
    bool repeatsClick = false;  // the second half of a double-click
  };
  // A press given back whose release has not come yet: the control holds the
  // mouse.
  struct OpenPress {
    QPointer<QWidget> control;
    Qt::MouseButton button = Qt::NoButton;
    uint64_t context = 0;
    uint64_t modalsShown = 0;
    bool repeatsClick = false;
  };

  bool nativeEventFilter(const QByteArray& kind, void* message, qintptr* result) override;
  void keepLostToBox();
  bool keeps(QObject* watched, const QEvent* event) const;
  Kept keep(QObject* watched, QEvent* event);
  bool releasesOpenPress(QObject* watched, const QEvent* event) const;
  bool completeOpenPress();
  void scheduleReplay();
  void replayNext();
  bool unchangedSince(uint64_t context, uint64_t modalsShown) const;
  bool openPressActs() const;
  bool stillActsAsMade(const Kept& kept) const;
  void dropAll();
  void letGoOfPress(bool releaseDropped);
  void deliver(Kept& kept);
  void watchInput(bool on);
  void unwatchWhenIdle();

  QWidget& window_;
  Host& host_;
  bool held_ = false;
  bool watching_ = false;
  bool replayDue_ = false;
  // Input given back is being passed on to the window's controls.
  bool forwarding_ = false;
  // Modal windows shown while input was held or kept.
  uint64_t modalsShown_ = 0;
  // The last press kept was a double-click: its release repeats it too.
  bool keptDoubleClick_ = false;
  std::optional<OpenPress> open_;
  std::deque<Kept> kept_;
};

}  // namespace kvlink
