#pragma once
// Windows built from data: a window class declares its design values and its
// control table, and the builder here turns them into widgets and binds each
// event to the window's handler.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <vector>

#include "framework/Basic.h"
#include "framework/Controls.h"

namespace fw {

class Graphics;
class MenuBar;
class WindowFrame;

// Sizes are those of the content area, in pixels.
struct WindowDesign {
  std::string Title{};
  int32_t Width = 300;
  int32_t Height = 300;
  int32_t MinWidth = 64;
  int32_t MinHeight = 64;
  int32_t MaxWidth = 32000;
  int32_t MaxHeight = 32000;
  int32_t Frame = 0;      // 0 document window, 1 movable modal, 2 modal dialog
  int32_t Placement = 0;  // 0 default; 2 on the main screen
  bool Resizeable = false;
  bool LiveResize = false;
  bool CloseButton = true;
  bool MinimizeButton = false;
  bool MaximizeButton = false;
  bool FullScreen = false;
  bool Composite = false;
  bool MenuBarVisible = true;
  bool HasBackColor = false;
  Color BackColor = 0xFFFFFF;
  bool Visible = true;
  int32_t MacProcID = 0;
};

enum class Event { Open, Paint, Action, GotFocus, LostFocus };

// One event of a control and the window method that handles it.
struct EventBinding {
  Event Kind;
  std::function<void(Window&)> Handler;
  std::function<void(Window&, Graphics&)> PaintHandler;
};

template <class W>
EventBinding On(Event kind, void (W::*handler)()) {
  return {kind, [handler](Window& w) { (static_cast<W&>(w).*handler)(); }, {}};
}

template <class W>
EventBinding On(Event kind, void (W::*handler)(Graphics&)) {
  return {kind, {}, [handler](Window& w, Graphics& g) { (static_cast<W&>(w).*handler)(g); }};
}

// Stores the built control into the window's typed member.
using MemberSlot = std::function<void(Window&, Control&)>;

template <class W, class C>
MemberSlot Into(C* W::*member) {
  return [member](Window& w, Control& c) { static_cast<W&>(w).*member = &static_cast<C&>(c); };
}

struct ControlDesign {
  std::string Name{};
  ControlKind Kind = ControlKind::StaticText;
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t TabIndex = 0;
  std::string Text{};          // caption or initial text
  std::string TextFont = "System";
  double TextSize = 0;         // 0: the font's default size
  bool Bold = false;
  std::optional<Color> TextColor{};
  std::optional<Color> BackColor{};
  int32_t TextAlign = 0;       // 0 left, 1 centre, 2 right
  bool Multiline = false;
  bool Default = false;        // push buttons: pressed by Return
  bool Cancel = false;         // push buttons: pressed by Escape
  bool Value = false;          // radio buttons: selected
  int32_t State = 0;           // check boxes
  bool TabStop = true;
  bool AcceptFocus = true;     // canvases
  bool EraseBackground = true; // canvases
  bool Border = true;          // text fields
  std::vector<EventBinding> Events{};
  MemberSlot Member{};
};

class Window {
 public:
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Window events.
  virtual void Event_Open() {}
  virtual void Event_Close() {}

  void Show();
  // Shows the window modally; returns once it is hidden. The windows on screen take no
  // input meanwhile, but for the main window's menu bar; a window shown while it is up
  // takes input too.
  void ShowModal();
  void Hide();
  // Repaints the window and all its controls.
  void Refresh(bool eraseBackground = true);
  // Brings the window to the front and activates it (or, while a modal window blocks
  // it, that window).
  void SetFocus();
  bool Visible() const;

  // The content area, in screen pixels.
  int32_t Left() const;
  int32_t Top() const;
  int32_t Width() const;
  int32_t Height() const;
  void SetLeft(int32_t left);
  void SetTop(int32_t top);
  // Places the content area in the middle of the main screen, left before top; an
  // odd difference loses its half pixel.
  void CentreOnMainScreen();
  // Whether a person could still reach the window if its content area stood at
  // left, top: part of its top strip (title bar, menu bar, the content's first row)
  // lies on some screen.
  bool TopStripOnScreenAt(int32_t left, int32_t top) const;

  std::string Title() const;
  const WindowDesign& Design() const { return design_; }
  MenuBar* GetMenuBar() const { return menuBar_; }

  Control* Find(const std::string& name) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // The controls the Tab key visits, in order.
  const std::vector<Control*>& TabChain() const { return tabChain_; }

  // For the framework and its test driver.
  WindowFrame& Frame() const { return *frame_; }
  // When the window last came to the front; a higher number is further in front.
  uint64_t RaisedAt() const { return raisedAt_; }
  // Closes the window as its close box would: Close event, then the instance goes.
  // Does nothing for a window without a close box.
  void CloseBox();

 protected:
  Window();

  // Construction hooks, run once by Construct(): apply the design values, then
  // create the controls.
  virtual void Layout() = 0;
  virtual void CreateControls() = 0;

  void SetMenuBar(MenuBar& bar);
  void SetProperties(const WindowDesign& design);
  void AddControls(const std::vector<ControlDesign>& table);

 private:
  friend class WindowRegistry;

  void Construct();
  void OpenNow();
  void Close(bool destroy);

  WindowDesign design_;
  std::unique_ptr<WindowFrame> frame_;
  MenuBar* menuBar_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<Control*> tabChain_;
  bool opened_ = false;
  bool closing_ = false;
  bool showingModal_ = false;
  uint64_t raisedAt_ = 0;
};

namespace detail {
Window* LiveInstance(std::type_index type);
void Register(std::type_index type, Window* window);
void Construct(Window& window);
}  // namespace detail

// The one live window of class W, created (built, opened and shown) on first use.
template <class W>
W& Instance() {
  if (Window* w = detail::LiveInstance(typeid(W))) return static_cast<W&>(*w);
  auto* w = new W();
  detail::Register(typeid(W), w);
  detail::Construct(*w);
  return *w;
}

template <class W>
bool Exists() {
  return detail::LiveInstance(typeid(W)) != nullptr;
}

}  // namespace fw
