#include "framework/Window.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Internal.h"

namespace fw {

namespace {

std::unique_ptr<Control> MakeControl(Window& w, const ControlDesign& d) {
  switch (d.Kind) {
    case ControlKind::Canvas: return std::make_unique<Canvas>(w, d.Name, d.TabIndex, d.EraseBackground);
    case ControlKind::StaticText: return std::make_unique<StaticText>(w, d.Name, d.TabIndex);
    case ControlKind::TextField: return std::make_unique<TextField>(w, d.Name, d.TabIndex);
    case ControlKind::PushButton: return std::make_unique<PushButton>(w, d.Name, d.TabIndex);
    case ControlKind::RadioButton: return std::make_unique<RadioButton>(w, d.Name, d.TabIndex);
    case ControlKind::CheckBox: return std::make_unique<CheckBox>(w, d.Name, d.TabIndex);
  }
  return nullptr;
}

Qt::Alignment HorizontalAlignment(int32_t align) {
  switch (align) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
  }
}

bool TakesFocus(const ControlDesign& d) {
  switch (d.Kind) {
    case ControlKind::StaticText: return false;
    case ControlKind::Canvas: return d.AcceptFocus;
    default: return true;
  }
}

bool IsTabStop(const ControlDesign& d) { return TakesFocus(d) && d.TabStop; }

// Typing goes on in the field that has the focus while the mouse works the buttons:
// a button takes the focus from the Tab key only.
Qt::FocusPolicy FocusPolicyOf(const ControlDesign& d) {
  if (!TakesFocus(d)) return Qt::NoFocus;
  switch (d.Kind) {
    case ControlKind::PushButton:
    case ControlKind::RadioButton:
    case ControlKind::CheckBox: return d.TabStop ? Qt::TabFocus : Qt::NoFocus;
    default: return d.TabStop ? Qt::StrongFocus : Qt::ClickFocus;
  }
}

void ApplyDesign(Control& c, const ControlDesign& d) {
  QWidget* widget = c.Widget();
  widget->setObjectName(detail::Q(d.Name));
  widget->setGeometry(d.Left, d.Top, d.Width, d.Height);
  if (d.Kind != ControlKind::Canvas) widget->setFont(detail::MakeFont(d.TextFont, d.TextSize, d.Bold));
  widget->setFocusPolicy(FocusPolicyOf(d));

  switch (d.Kind) {
    case ControlKind::Canvas:
      break;
    case ControlKind::StaticText: {
      auto& t = static_cast<StaticText&>(c);
      auto* label = static_cast<QLabel*>(widget);
      label->setAlignment(HorizontalAlignment(d.TextAlign) | Qt::AlignTop);
      label->setWordWrap(d.Multiline);
      t.SetText(d.Text);
      t.SetTextColor(d.TextColor.value_or(0x000000));
      break;
    }
    case ControlKind::TextField: {
      auto& t = static_cast<TextField&>(c);
      auto* edit = static_cast<QLineEdit*>(widget);
      edit->setAlignment(HorizontalAlignment(d.TextAlign) | Qt::AlignVCenter);
      edit->setFrame(d.Border);
      QPalette p = edit->palette();
      p.setColor(QPalette::Text, QColor::fromRgb(d.TextColor.value_or(0x000000)));
      p.setColor(QPalette::Base, QColor::fromRgb(d.BackColor.value_or(0xFFFFFF)));
      edit->setPalette(p);
      t.SetText(d.Text);
      break;
    }
    case ControlKind::PushButton: {
      auto& b = static_cast<PushButton&>(c);
      b.SetCaption(d.Text);
      b.SetDefault(d.Default);
      b.SetCancel(d.Cancel);
      break;
    }
    case ControlKind::RadioButton:
      static_cast<QAbstractButton*>(widget)->setText(detail::Q(d.Text));
      static_cast<RadioButton&>(c).SetValue(d.Value);
      break;
    case ControlKind::CheckBox:
      static_cast<QAbstractButton*>(widget)->setText(detail::Q(d.Text));
      static_cast<CheckBox&>(c).SetState(d.State);
      break;
  }
}

void Bind(Window& w, Control& c, const EventBinding& b) {
  switch (b.Kind) {
    case Event::Open: c.OnOpen = [&w, h = b.Handler] { h(w); }; break;
    case Event::Action: c.OnAction = [&w, h = b.Handler] { h(w); }; break;
    case Event::GotFocus: c.OnGotFocus = [&w, h = b.Handler] { h(w); }; break;
    case Event::LostFocus: c.OnLostFocus = [&w, h = b.Handler] { h(w); }; break;
    case Event::Paint:
      if (auto* canvas = dynamic_cast<Canvas*>(&c)) canvas->OnPaint = [&w, h = b.PaintHandler](Graphics& g) { h(w, g); };
      break;
  }
}

}  // namespace

void Window::AddControls(const std::vector<ControlDesign>& table) {
  for (const ControlDesign& d : table) {
    std::unique_ptr<Control> c = MakeControl(*this, d);
    ApplyDesign(*c, d);
    for (const EventBinding& b : d.Events) Bind(*this, *c, b);
    if (d.Member) d.Member(*this, *c);
    c->Widget()->show();
    if (IsTabStop(d)) tabChain_.push_back(c.get());
    controls_.push_back(std::move(c));
  }

  // Keyboard order: ascending tab index; controls sharing one keep their creation order.
  std::stable_sort(tabChain_.begin(), tabChain_.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
}

}  // namespace fw
