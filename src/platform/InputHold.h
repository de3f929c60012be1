#pragma once
// Keeps a window still without greying it: while the hold is on, keys,
// clicks, wheel turns and the close box meant for the window are kept back.
// Once the hold ends they are acted on in the order they came, each as the
// operator made it: a click on the control it was made on, at the place it
// was made, wherever the pointer is by then; keys on whatever control has the
// focus then. Input that comes while kept input waits goes behind it.
//
// Kept input is dropped, with a beep, when meanwhile the station or the link
// changed (the host's input context), a modal window opened, or the control
// it was made on can no longer be used (hidden, disabled, another control in
// its place). Whatever follows dropped input is dropped with it: it was made
// after it, on what it would have done.

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <memory>

class QEvent;

namespace kvlink {

class Host;

class InputHold : public QObject {
 public:
  InputHold(QWidget& window, Host& host);
  ~InputHold() override;

  void setHeld(bool on);
  bool held() const { return held_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // One piece of input as it was made: what it was, where, on which control,
  // and in which state of the program.
  struct Kept {
    std::unique_ptr<QEvent> event;  // keys and the close box; clicks are rebuilt
    QPointer<QWidget> control;      // the control a click or turn was made on
    QPointF atControl;              // where on it
    QPointF atWindow;
    QPointF onScreen;
    uint64_t context = 0;
    uint64_t modalsShown = 0;
  };

  bool keeps(QObject* watched, const QEvent* event) const;
  Kept keep(QObject* watched, QEvent* event);
  void scheduleReplay();
  void replayNext();
  bool stillActsAsMade(const Kept& kept) const;
  void dropAll();
  void deliver(Kept& kept);
  void watchInput(bool on);

  QWidget& window_;
  Host& host_;
  bool held_ = false;
  bool watching_ = false;
  bool replayDue_ = false;
  // Modal windows shown while input was held or kept.
  uint64_t modalsShown_ = 0;
  // The control the last kept press was made on: its release goes there too.
  QPointer<QWidget> pressedControl_;
  std::deque<Kept> kept_;
};

}  // namespace kvlink
