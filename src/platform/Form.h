#pragma once
// A window of the program: one top-level widget with the lifecycle the
// program's windows share. Load runs once when the single instance is
// created (hidden); Unload runs when it is discarded. Close buttons hide;
// the title-bar close unloads. Enter presses the focused button, else the
// default one; Esc presses the window's Cancel, Close or Exit button.

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <functional>

namespace kvlink {

class Host;
class InputHold;

// Mouse pointer values a window or the application can take.
enum MousePointer : int { vbDefault = 0, vbHourglass = 11 };

class Form : public QWidget {
  Q_OBJECT
 public:
  Form(Host& host, const QString& designName);
  ~Form() override;

  const QString& designName() const { return designName_; }
  Host& host() const { return host_; }

  // Show modeless (raise it when already shown) or modal (returns when the
  // window is hidden or destroyed).
  void Show(bool modal = false);
  void Hide() { hide(); }
  bool Visible() const { return isVisible(); }
  // The Enabled property: False while the window is disabled or held.
  bool Enabled() const { return isEnabled() && !inputHeld(); }
  // Disables the window, greyed; enabling it again gives the focus back to
  // the control that had it.
  void setEnabledState(bool on);
  // Holds the window still for a moment without greying it: it keeps its
  // look and its focus, and the keys and clicks that come meanwhile act, in
  // order and on the controls they were made on, once the hold ends, or are
  // dropped with a beep when the station, the link or the modal state changed
  // (InputHold).
  void holdInput(bool on);
  bool inputHeld() const;
  // Held, or input kept by a hold still waits to be given back.
  bool keepsInput() const;
  int Left() const { return pos().x(); }
  int Top() const { return pos().y(); }
  void moveTo(int left, int top) { move(left, top); }

  int mousePointerValue() const { return mousePointer_; }
  void setMousePointer(int value);

  // Lifecycle handlers; windows override what they need.
  virtual void Form_Load() {}
  virtual void Form_Unload() {}

  // The window beside which others first appear (the main window), which is
  // put at the top left of the screen: a window shown for the first time
  // without a place of its own opens beside it, wholly on the screen, clear of
  // the main window and of the window set by setKeepUncovered where the screen
  // has room, each next one a little lower. A window larger than the screen
  // gets a scroll area and the screen's size.
  static void setPlacementAnchor(QWidget* anchor);
  // The window that new windows avoid covering (General Status).
  static void setKeepUncovered(QWidget* window);

  // Set by the window's default instance: what the title-bar close does.
  void setUnloadRequest(std::function<void()> unload) { unloadRequest_ = std::move(unload); }

 signals:
  void hiddenOrClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  Host& host_;
  QString designName_;
  void placeOnFirstShow();
  void fitToScreen(const QRect& screen);

  int mousePointer_ = vbDefault;
  bool placed_ = false;
  std::function<void()> unloadRequest_;
  QPointer<QWidget> focusBeforeDisable_;
  // The default button of the window's design, known from its first show.
  QPointer<QPushButton> ownDefault_;
  bool ownDefaultKnown_ = false;
  InputHold* hold_ = nullptr;  // made on the first hold, owned as a child
};

}  // namespace kvlink
