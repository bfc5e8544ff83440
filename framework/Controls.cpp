#include "framework/Controls.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>

#include "framework/Graphics.h"
#include "framework/Internal.h"
#include "framework/Window.h"

namespace fw {

namespace {

// Focus moving between windows, or to a menu, is not a control's focus changing.
bool ControlFocusChange(const QFocusEvent* e) {
  return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

// The widgets below reach their control through a pointer that the control clears
// when it goes, so that a late Qt event finds no control rather than a dead one.
class CanvasWidget : public QWidget {
 public:
  CanvasWidget(QWidget* parent, Canvas*& canvas) : QWidget(parent), canvas_(canvas) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!canvas_) return;
    QPainter painter(this);
    Graphics g(painter, width(), height());
    canvas_->PaintInto(g);
  }

 private:
  Canvas*& canvas_;
};

class FieldWidget : public QLineEdit {
 public:
  FieldWidget(QWidget* parent, TextField*& field) : QLineEdit(parent), field_(field) {
    // Qt lets an accessibility client edit a field that is out of use (its window
    // blocked by a modal one); such a field keeps its text.
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
      if (isEnabled() || settingText_) {
        kept_ = text;
      } else if (text != kept_) {
        SetTextFromProgram(kept_);
      }
    });
  }

  void SetTextFromProgram(const QString& text) {
    settingText_ = true;
    setText(text);
    settingText_ = false;
  }

  // The program gives the field the focus: a new focus, even for the field that has
  // it already or that gets it back only as its window comes to the front.
  void TakeFocus() {
    if (!isEnabled()) return;
    if (hasFocus()) {
      GotFocus(Qt::OtherFocusReason);
      return;
    }
    newFocus_ = true;
    setFocus(Qt::OtherFocusReason);
  }

 protected:
  void focusInEvent(QFocusEvent* e) override {
    QLineEdit::focusInEvent(e);
    // The focus coming back with its window is no new focus; the first focus a
    // window gives when it opens is, and so is one the program gives.
    const bool returning = returning_ && !newFocus_ && !ControlFocusChange(e);
    returning_ = false;
    newFocus_ = false;
    if (!returning) GotFocus(e->reason());
  }
  void mousePressEvent(QMouseEvent* e) override {
    QLineEdit::mousePressEvent(e);
    if (reselect_) {
      reselect_ = false;
      if (selLength_ > 0) setSelection(selStart_, selLength_);
    }
  }
  void focusOutEvent(QFocusEvent* e) override {
    // A field that goes out of use with its window (a modal window blocks it) keeps
    // its selection and its place, as when the window goes to the back.
    const bool outOfUse = !isEnabled() && ControlFocusChange(e);
    QFocusEvent asWindow(e->type(), Qt::ActiveWindowFocusReason);
    QLineEdit::focusOutEvent(outOfUse ? &asWindow : e);
    reselect_ = false;
    returning_ = outOfUse || !ControlFocusChange(e);
    if (!field_ || returning_) return;
    if (field_->OnLostFocus) field_->OnLostFocus();
  }

 private:
  void GotFocus(Qt::FocusReason reason) {
    if (!field_) return;
    if (field_->OnGotFocus) field_->OnGotFocus();
    // The click that brought the focus would otherwise replace the selection
    // the handler made with a caret.
    reselect_ = reason == Qt::MouseFocusReason;
    selStart_ = selectionStart() >= 0 ? selectionStart() : cursorPosition();
    selLength_ = static_cast<int>(selectedText().size());
  }

  TextField*& field_;
  QString kept_;
  bool settingText_ = false;
  bool returning_ = false;
  bool newFocus_ = false;
  bool reselect_ = false;
  int selStart_ = 0;
  int selLength_ = 0;
};

// The platform's look draws a default button's frame as it draws the focus, so that
// a default button with the focus looks like one without; it gets the focus frame
// inside as well.
class ButtonWidget : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPushButton::paintEvent(e);
    if (!isDefault() || !hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionButton button;
    initStyleOption(&button);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &button, this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
};

}  // namespace

// ---- Control --------------------------------------------------------------

Control::Control(Window& owner, std::string name, ControlKind kind, int32_t tabIndex, QWidget* widget)
    : owner_(owner), name_(std::move(name)), kind_(kind), tabIndex_(tabIndex), widget_(widget) {}

Control::~Control() {
  OnOpen = nullptr;
  OnAction = nullptr;
  OnGotFocus = nullptr;
  OnLostFocus = nullptr;
  delete widget_;
}

int32_t Control::Left() const { return widget_->x(); }
int32_t Control::Top() const { return widget_->y(); }
int32_t Control::Width() const { return widget_->width(); }
int32_t Control::Height() const { return widget_->height(); }
bool Control::Enabled() const { return widget_->isEnabled(); }
bool Control::Visible() const { return widget_->isVisibleTo(widget_->parentWidget()); }
bool Control::HasFocus() const { return widget_->hasFocus(); }

void Control::SetFocus() {
  if (kind_ == ControlKind::TextField) {
    static_cast<FieldWidget*>(widget_)->TakeFocus();
  } else {
    widget_->setFocus(Qt::OtherFocusReason);
  }
}

void Control::Refresh(bool /*eraseBackground*/) { widget_->update(); }

// ---- Canvas ---------------------------------------------------------------

Canvas::Canvas(Window& owner, std::string name, int32_t tabIndex, bool eraseBackground)
    : Control(owner, std::move(name), ControlKind::Canvas, tabIndex,
              new CanvasWidget(owner.Frame().Content(), self_)) {
  self_ = this;
  Widget()->setAutoFillBackground(eraseBackground);
}

Canvas::~Canvas() { self_ = nullptr; }

void Canvas::PaintInto(Graphics& g) {
  Graphics* previous = current_;
  current_ = &g;
  if (OnPaint) OnPaint(g);
  current_ = previous;
}

// ---- StaticText -----------------------------------------------------------

StaticText::StaticText(Window& owner, std::string name, int32_t tabIndex)
    : Control(owner, std::move(name), ControlKind::StaticText, tabIndex, new QLabel(owner.Frame().Content())) {
  static_cast<QLabel*>(Widget())->setTextFormat(Qt::PlainText);
}

std::string StaticText::Text() const { return detail::S(static_cast<QLabel*>(Widget())->text()); }

void StaticText::SetText(const std::string& text) { static_cast<QLabel*>(Widget())->setText(detail::Q(text)); }

void StaticText::SetTextColor(Color color) {
  textColor_ = color & 0xFFFFFF;
  QPalette p = Widget()->palette();
  // Every colour group: a label keeps its colour while a modal window keeps its
  // window out of use.
  p.setColor(QPalette::WindowText, QColor::fromRgb(textColor_));
  Widget()->setPalette(p);
}

// ---- TextField ------------------------------------------------------------

TextField::TextField(Window& owner, std::string name, int32_t tabIndex)
    : Control(owner, std::move(name), ControlKind::TextField, tabIndex,
              new FieldWidget(owner.Frame().Content(), self_)) {
  self_ = this;
}

TextField::~TextField() { self_ = nullptr; }

namespace {
QLineEdit* Edit(const Control& c) { return static_cast<QLineEdit*>(c.Widget()); }
}  // namespace

std::string TextField::Text() const { return detail::S(Edit(*this)->text()); }

void TextField::SetText(const std::string& text) {
  static_cast<FieldWidget*>(Widget())->SetTextFromProgram(detail::Q(text));
}

namespace {

// Selections count characters, as Len does; Qt counts UTF-16 units, two for a
// character beyond the Basic Multilingual Plane.
int32_t CharsBefore(const QString& text, qsizetype units) {
  int32_t chars = 0;
  for (qsizetype i = 0; i < units && i < text.size(); ++i)
    if (!text.at(i).isLowSurrogate()) ++chars;
  return chars;
}

int UnitsBefore(const QString& text, int32_t chars) {
  qsizetype i = 0;
  for (int32_t c = 0; c < chars && i < text.size(); ++c) i += QChar::isHighSurrogate(text.at(i).unicode()) ? 2 : 1;
  return static_cast<int>(std::min(i, text.size()));
}

// The selection's start in UTF-16 units (the caret's when nothing is selected).
int StartUnits(const QLineEdit& e) { return e.hasSelectedText() ? e.selectionStart() : e.cursorPosition(); }

}  // namespace

int32_t TextField::SelStart() const {
  const QLineEdit* e = Edit(*this);
  return CharsBefore(e->text(), StartUnits(*e));
}

void TextField::SetSelStart(int32_t start) {
  QLineEdit* e = Edit(*this);
  e->setCursorPosition(UnitsBefore(e->text(), start));
}

int32_t TextField::SelLength() const { return Len(SelText()); }

void TextField::SetSelLength(int32_t length) {
  QLineEdit* e = Edit(*this);
  const QString text = e->text();
  const int start = StartUnits(*e);
  if (length <= 0) {
    e->setCursorPosition(start);
  } else {
    e->setSelection(start, UnitsBefore(text, CharsBefore(text, start) + length) - start);
  }
}

int32_t TextField::IntegerValue() const { return CInt32(Val(Text())); }

void TextField::SelectAll() {
  SetSelStart(0);
  SetSelLength(Len(Text()));
}

std::string TextField::SelText() const { return detail::S(Edit(*this)->selectedText()); }

// ---- PushButton -----------------------------------------------------------

PushButton::PushButton(Window& owner, std::string name, int32_t tabIndex)
    : Control(owner, std::move(name), ControlKind::PushButton, tabIndex,
              new ButtonWidget(owner.Frame().Content())) {
  auto* b = static_cast<QPushButton*>(Widget());
  b->setAutoDefault(false);
  QObject::connect(b, &QPushButton::clicked, [this] {
    if (OnAction) OnAction();
  });
}

std::string PushButton::Caption() const { return detail::S(static_cast<QPushButton*>(Widget())->text()); }

void PushButton::SetCaption(const std::string& text) { static_cast<QPushButton*>(Widget())->setText(detail::Q(text)); }

void PushButton::SetDefault(bool on) {
  default_ = on;
  static_cast<QPushButton*>(Widget())->setDefault(on);
}

void PushButton::Push() { static_cast<QPushButton*>(Widget())->click(); }

// ---- RadioButton ----------------------------------------------------------

RadioButton::RadioButton(Window& owner, std::string name, int32_t tabIndex)
    : Control(owner, std::move(name), ControlKind::RadioButton, tabIndex,
              new QRadioButton(owner.Frame().Content())) {
  QObject::connect(static_cast<QRadioButton*>(Widget()), &QRadioButton::toggled, [this](bool on) {
    if (on && OnAction) OnAction();
  });
}

std::string RadioButton::Caption() const { return detail::S(static_cast<QRadioButton*>(Widget())->text()); }

bool RadioButton::Value() const { return static_cast<QRadioButton*>(Widget())->isChecked(); }

void RadioButton::SetValue(bool on) { static_cast<QRadioButton*>(Widget())->setChecked(on); }

// ---- CheckBox -------------------------------------------------------------

CheckBox::CheckBox(Window& owner, std::string name, int32_t tabIndex)
    : Control(owner, std::move(name), ControlKind::CheckBox, tabIndex, new QCheckBox(owner.Frame().Content())) {
  QObject::connect(static_cast<QCheckBox*>(Widget()), &QCheckBox::clicked, [this] {
    if (OnAction) OnAction();
  });
}

std::string CheckBox::Caption() const { return detail::S(static_cast<QCheckBox*>(Widget())->text()); }

int32_t CheckBox::State() const {
  switch (static_cast<QCheckBox*>(Widget())->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void CheckBox::SetState(int32_t state) {
  auto* box = static_cast<QCheckBox*>(Widget());
  if (state == 2) box->setTristate(true);
  box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

}  // namespace fw
