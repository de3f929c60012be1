#include "Controls.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>

#include "VbColor.h"

namespace kvlink {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption) {
  auto* frame = new QGroupBox(caption, parent);
  frame->setObjectName(name);
  return frame;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(true);  // Enter presses the button that has the focus
  return button;
}

QFrame* makePanel(QWidget* parent, const QString& name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

namespace {
const char* const kTextColorProperty = "vbTextColor";
}

QLabel* makeImage(QWidget* parent, const QString& name, QStyle::StandardPixmap icon) {
  auto* image = new QLabel(parent);
  image->setObjectName(name);
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  image->setPixmap(parent->style()->standardIcon(icon).pixmap(size, size));
  image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  return image;
}

void setTextColor(QWidget* widget, uint32_t color) {
  const QVariant current = widget->property(kTextColorProperty);
  if (current.isValid() && current.toUInt() == color) return;
  widget->setProperty(kTextColorProperty, color);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, vbColor(color));
  widget->setPalette(palette);
}

uint32_t textColor(const QWidget* widget) {
  return widget->property(kTextColorProperty).toUInt();
}

CaptionFrame::CaptionFrame(const QString& caption, uint32_t captionColor, QWidget* parent)
    : QGroupBox(caption, parent) {
  setCaptionColor(captionColor);
}

void CaptionFrame::setCaptionColor(uint32_t color) {
  if (color == captionColor_ && !styleSheet().isEmpty()) return;
  captionColor_ = color;
  setStyleSheet(QStringLiteral("QGroupBox::title { color: %1; }").arg(vbColor(color).name()));
}

void setBackgroundColor(QWidget* widget, uint32_t color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, vbColor(color));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QGridLayout* rowGrid(QWidget* frame, int rows, int rowHeight) {
  auto* grid = new QGridLayout(frame);
  grid->setVerticalSpacing(6);
  for (int r = 0; r < rows; ++r) grid->setRowMinimumHeight(r, rowHeight);
  grid->setRowStretch(rows, 1);
  return grid;
}

void setElidedText(QLabel* label, const QString& text, int chars) {
  const QFontMetrics metrics = label->fontMetrics();
  const QString shown =
      metrics.elidedText(text, Qt::ElideRight, metrics.averageCharWidth() * chars);
  label->setText(shown);
  label->setToolTip(shown == text ? QString() : text);
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
