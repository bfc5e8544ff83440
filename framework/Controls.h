#pragma once
// The controls a window is built from. Each is created by the window builder from a
// row of the window's control table; handlers reach them by name or through the
// window's typed members.

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Basic.h"

class QWidget;

namespace fw {

class Graphics;
class Window;

enum class ControlKind { Canvas, StaticText, TextField, PushButton, RadioButton, CheckBox };

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Window& Owner() const { return owner_; }
  int32_t TabIndex() const { return tabIndex_; }

  int32_t Left() const;
  int32_t Top() const;
  int32_t Width() const;
  int32_t Height() const;
  bool Enabled() const;
  bool Visible() const;
  bool HasFocus() const;

  void SetFocus();
  // Repaints the control (erasing its background first).
  void Refresh(bool eraseBackground = true);

  // Event handlers, bound by the window builder.
  std::function<void()> OnOpen;
  std::function<void()> OnAction;
  std::function<void()> OnGotFocus;
  std::function<void()> OnLostFocus;

  // The widget behind the control; for the framework and its test driver only.
  QWidget* Widget() const { return widget_; }

 protected:
  Control(Window& owner, std::string name, ControlKind kind, int32_t tabIndex, QWidget* widget);

 private:
  Window& owner_;
  std::string name_;
  ControlKind kind_;
  int32_t tabIndex_;
  QWidget* widget_;
};

class Canvas final : public Control {
 public:
  Canvas(Window& owner, std::string name, int32_t tabIndex, bool eraseBackground);
  ~Canvas() override;

  std::function<void(Graphics&)> OnPaint;

  // The canvas's drawing surface: the one of the paint in progress. Outside a paint
  // there is none, and drawing waits for the next one (ask with Refresh).
  Graphics* GetGraphics() const { return current_; }

  // Runs one paint into `g` (the framework's paint event, and off-screen renders).
  void PaintInto(Graphics& g);

 private:
  Graphics* current_ = nullptr;
  Canvas* self_ = nullptr;
};

class StaticText final : public Control {
 public:
  StaticText(Window& owner, std::string name, int32_t tabIndex);

  std::string Text() const;
  void SetText(const std::string& text);
  // Caption is the same text under its other name.
  std::string Caption() const { return Text(); }
  void SetCaption(const std::string& text) { SetText(text); }
  Color TextColor() const { return textColor_; }
  void SetTextColor(Color color);

 private:
  Color textColor_ = 0x000000;
};

class TextField final : public Control {
 public:
  TextField(Window& owner, std::string name, int32_t tabIndex);
  ~TextField() override;

  std::string Text() const;
  void SetText(const std::string& text);
  // Selection positions and lengths count characters, as Len does.
  int32_t SelStart() const;
  void SetSelStart(int32_t start);
  int32_t SelLength() const;
  void SetSelLength(int32_t length);
  std::string SelText() const;
  // The number the text spells (Val), as a 32-bit integer: text that is not a number
  // is 0, and a number beyond the range stops at its end.
  int32_t IntegerValue() const;
  // Selects the whole text (start 0, length of the text), so that typing replaces it.
  void SelectAll();

 private:
  TextField* self_ = nullptr;
};

class PushButton final : public Control {
 public:
  PushButton(Window& owner, std::string name, int32_t tabIndex);

  std::string Caption() const;
  void SetCaption(const std::string& text);
  bool Default() const { return default_; }
  bool Cancel() const { return cancel_; }
  void SetDefault(bool on);
  void SetCancel(bool on) { cancel_ = on; }
  // Presses the button as a click would.
  void Push();

 private:
  bool default_ = false;
  bool cancel_ = false;
};

class RadioButton final : public Control {
 public:
  RadioButton(Window& owner, std::string name, int32_t tabIndex);

  std::string Caption() const;
  bool Value() const;
  // Selecting a button clears the others of its window; the Action handler runs
  // whenever a button becomes selected.
  void SetValue(bool on);
};

class CheckBox final : public Control {
 public:
  CheckBox(Window& owner, std::string name, int32_t tabIndex);

  std::string Caption() const;
  // 0 unchecked, 1 checked, 2 indeterminate.
  int32_t State() const;
  void SetState(int32_t state);
  bool Value() const { return State() == 1; }
  void SetValue(bool on) { SetState(on ? 1 : 0); }
};

}  // namespace fw
