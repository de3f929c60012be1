#include "EditorWidgets.h"

#include <QEvent>
#include <QFontMetrics>

#include "VbColor.h"

namespace kvlink {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  return label;
}

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(QString::fromUtf8(name));
  return frame;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(true);  // Enter presses the button that has the focus
  return button;
}

QFrame* makePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromUtf8(name));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

void setTextColor(QWidget* widget, uint32_t color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, vbColor(color));
  widget->setPalette(palette);
}

void setBackgroundColor(QWidget* widget, uint32_t color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, vbColor(color));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

void keepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

namespace {

// Places the raised label whenever its base label changes size.
class SuperscriptPlacer : public QObject {
 public:
  SuperscriptPlacer(QLabel* base, QLabel* small, const QString& before)
      : QObject(base), base_(base), small_(small), before_(before) {
    base->installEventFilter(this);
    place();
  }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Resize || event->type() == QEvent::Show ||
        event->type() == QEvent::FontChange)
      place();
    return false;
  }

 private:
  void place() {
    const QFontMetrics fm(base_->font());
    const QFontMetrics smallFm(small_->font());
    const int gapStart = fm.horizontalAdvance(before_);
    const int gapWidth = fm.horizontalAdvance(before_ + QStringLiteral("  ")) - gapStart;
    const QRect text = base_->contentsRect();
    const int textTop = text.top() + (text.height() - fm.height()) / 2;
    small_->adjustSize();
    const int x = text.left() + gapStart + (gapWidth - small_->width()) / 2;
    const int y = textTop - smallFm.height() / 4;
    small_->move(x, std::max(0, y));
  }

  QLabel* base_;
  QLabel* small_;
  QString before_;
};

}  // namespace

void attachSuperscript(QLabel* base, QLabel* small, const QString& before) {
  small->setParent(base);
  QFont font = base->font();
  font.setPointSizeF(font.pointSizeF() * 0.75);
  small->setFont(font);
  small->setPalette(base->palette());
  new SuperscriptPlacer(base, small, before);
}

}  // namespace kvlink
