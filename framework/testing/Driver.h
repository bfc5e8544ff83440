#pragma once
// Drives the real widgets of a running application from tests, on Qt's offscreen
// platform: clicks, typing, focus, keys, grabs of canvases and the alerts that come up.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/Basic.h"

namespace fw {
class Control;
class Canvas;
class TextField;
class Window;
}  // namespace fw

namespace fw::test {

// A folder of this test process's own under $TMPDIR (else /tmp), made on first use
// and removed with everything in it when the process exits, whether its tests passed
// or failed. Tests make their files and folders in here.
std::string ScratchDir();

// Prepares the process for window tests: offscreen platform, private runtime and
// configuration folders (in the scratch folder), a pinned set of fonts; then creates
// the Qt application.
void InitApplication(int& argc, char** argv);
// Takes the application down at the end of the test run.
void FinishApplication();

// Destroys every window (no Close events) and the application object, and forgets
// any quit request, so that the next test starts afresh.
void ResetApplication();

// Lets queued events (paints, deferred deletes, timers) run.
void Pump(int milliseconds = 0);
// Lets events run until `condition` holds or `timeoutMs` has passed; whether it held.
// For what the window system does in its own time, such as activating a window.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

// Runs `action` and returns the messages Qt gave meanwhile (its warnings on
// stderr), one a line; they still reach stderr.
std::vector<std::string> QtMessages(const std::function<void()>& action);

// A left click in the middle of the control.
void Click(Control& control);
// Gives the focus to the control as a click would.
void ClickFocus(Control& control);
// Gives the focus to the control as the Tab key would.
void TabFocus(Control& control);
// Replaces the field's text by typing: focus, select all, type. Any Unicode text.
void Type(TextField& field, const std::string& text);
// Types the text to whatever has the focus in the window, as the keyboard would
// ("\b" is Backspace).
void TypeKeys(Window& window, const std::string& text);

// The same, delivered as the desktop delivers a person's input: to the window, where a
// modal window that blocks it swallows it (Click and TypeKeys hand their events to the
// widget itself); a click activates the window first, as a click-to-focus desktop
// does. Printable ASCII; "\r" is Return.
void ClickThroughWindow(Control& control);
void TypeThroughWindow(Window& window, const std::string& text);
// Asks the window to close as the desktop does for its close box or Alt+F4.
void CloseFromDesktop(Window& window);

// Runs the control's first accessibility action ("Press", "Toggle"), as a screen reader
// or switch device does. False when the control offers none.
bool AccessibilityAction(Control& control);
// Sets the field's text as an accessibility client does.
void AccessibilitySetText(TextField& field, const std::string& text);
// Turns the mouse wheel over the control, as the desktop hands it to the window.
void Wheel(Control& control, int32_t notches);
// A right click on the control, as the desktop hands it to the window; whether a
// context menu came up. It is closed again.
bool ContextMenu(Control& control);
// Drags a text onto the control and drops it there.
void DropText(Control& control, const std::string& text);
// Runs `action` and names the window's controls that took a person's input meanwhile
// (a control out of use is handed the input and drops it, so it is not named).
std::vector<std::string> ControlsReached(Window& window, const std::function<void()>& action);

enum class Key { Return, Escape, Tab, BackTab, Up, Down };
// Sends the key to whatever has the focus in the window.
void Press(Window& window, Key key);
// Types a shortcut ("Ctrl+F") to the window.
void Shortcut(Window& window, const std::string& keys);

// Name of the control with the keyboard focus in the active window, or "".
std::string FocusedControl();
// The window that is active, or null.
Window* ActiveWindow();

struct Image {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<Color> Pixels;  // row by row
  Color At(int32_t x, int32_t y) const { return Pixels.at(static_cast<size_t>(y) * Width + x); }
  bool Save(const std::string& path) const;
};
// What the control shows, as drawn now.
Image Grab(Control& control);
Image Grab(Window& window);
// Paints the control once into an off-screen image and throws the image away (for
// timing a paint).
void Render(Control& control);
// Hands the control a paint event that the window system did not start, as a stray
// one is: a painter on the control cannot begin during it.
void PaintOutsideAPaintEvent(Control& control);

struct Alert {
  bool Shown = false;
  std::string Text;
  std::string Title;
  bool StopIcon = false;
  int32_t Buttons = 0;
};
// Runs `action`; the first modal alert it brings up is read and dismissed with OK.
Alert ExpectAlert(const std::function<void()>& action, int timeoutMs = 5000);

// Runs `action`, which shows `window` modally; `whileShown` runs while it is up,
// and the window is hidden afterwards if it still is.
void WhileModal(Window& window, const std::function<void()>& action,
                const std::function<void()>& whileShown, int timeoutMs = 5000);

// Hides the window if it is still up after `milliseconds`: a test that expects a call
// to return while the window is up then fails instead of waiting forever.
void HideAfter(Window& window, int milliseconds);

// Runs `action`; once it brings up a modal dialog (an alert, the print dialog),
// `whileShown` runs. True when the dialog came up and `whileShown` took it down;
// otherwise it is closed.
bool WhileDialog(const std::function<void()>& action, const std::function<void()>& whileShown,
                 int timeoutMs = 5000);

// Asks the application to quit as the desktop session does at logout.
void RequestSessionQuit();

// Runs `action`; the first modal dialog it brings up (an alert, the print dialog, the
// page-setup dialog) has the children named in `clickFirst` clicked (e.g. "landscape"
// in the page-setup dialog), then is accepted (OK) or cancelled.
struct Dialog {
  bool Shown = false;
  std::string Kind;  // "alert", "print", "pagesetup" or "other"
  std::string Title;
  std::string Text;  // an alert's message
  bool StopIcon = false;
  int32_t Buttons = 0;
  // As the dialog came up: its number fields by name ("scale", "pageWidth"), the
  // text of its lists ("pageSizeCombo") and, for the print dialog, the file offered.
  std::map<std::string, double> Values;
  std::map<std::string, std::string> Choices;
  std::string File;
  // The alerts it brought up over itself while it was answered, each dismissed with OK.
  std::vector<Alert> Raised;
};
Dialog AnswerDialog(const std::function<void()>& action, bool accept,
                    const std::vector<std::string>& clickFirst = {}, int timeoutMs = 5000);

// A fuller answer: number fields set, then buttons clicked; a dialog that one of the
// clicks opens (the print dialog's Properties) has `nestedClick` clicked and is
// accepted.
struct DialogAnswer {
  bool Accept = true;
  std::map<std::string, double> Set;
  std::vector<std::string> Click;
  std::vector<std::string> NestedClick;
};
Dialog AnswerDialog(const std::function<void()>& action, const DialogAnswer& answer, int timeoutMs = 5000);

// Answers the print dialog as a person choosing a file: `File` typed into its file
// field (unless empty), then Print pressed, so that the dialog's own checks of the
// file run (`PressPrint`), or else the dialog accepted as a program accepts it. If it
// is still up after that, it is cancelled. `AfterAnswer` runs once the dialog has
// taken the answer, before the call that showed it returns.
struct PrintFileAnswer {
  std::string File;
  bool PressPrint = false;
  std::function<void()> AfterAnswer;
};
Dialog AnswerPrintDialog(const std::function<void()>& action, const PrintFileAnswer& answer, int timeoutMs = 5000);

// From now on, a modal dialog or window that none of the helpers above has taken on
// (an alert no ExpectAlert waits for, say) is passed to `report` ("unexpected alert:
// <title>: <text>") once it has been up for `graceMs`, and cancelled, so that the test
// goes on and fails instead of blocking until it is killed. An empty `report` stops
// the watch.
void WatchForUnexpectedDialogs(std::function<void(const std::string&)> report, int graceMs = 2000);

// Runs `action`; whatever modal dialog or window is still up `ms` after it began is
// cancelled without being taken on, as a last resort for tests of the watch above.
// True when one had to be.
bool CloseModalsAfter(int ms, const std::function<void()>& action);

// The controls of the modal dialog that is up, by object name, as a person finds
// them with every tab and pane of the dialog opened (the print dialog's "Options"):
// whether each can be used (not hidden, enabled) and whether it is checked.
struct DialogControl {
  bool Offered = false;
  bool Checked = false;
};
std::map<std::string, DialogControl> ModalDialogControls();

// Print jobs go to this PDF file (the print dialog offers it) instead of the default one.
void SetPrintFile(const std::string& path);
// Seconds the last print job spent painting, from the painter's begin to its end.
double LastPrintJobSeconds();

// A PDF's pages: page count and each page's size in points, from the file itself.
struct PdfInfo {
  int32_t Pages = 0;
  double PageWidth = 0;
  double PageHeight = 0;
  std::string Title;
};
PdfInfo ReadPdf(const std::string& path);
// One page of a PDF rendered at `dpi` (72: one pixel per point); needs pdftoppm.
Image RenderPdfPage(const std::string& path, int32_t page, int32_t dpi = 72);
// The text of one page of a PDF, in reading order; needs pdftotext.
std::string PdfText(const std::string& path, int32_t page);

// Runs `action` with every file this process writes limited to `bytes`. SIGXFSZ keeps
// the disposition the program gave it: a write beyond the limit fails, as on a full
// disk, only if the program ignores the signal.
void WithFileSizeLimit(int64_t bytes, const std::function<void()>& action);

int BeepCount();
bool QuitRequested();

// The menu bar as the window shows it.
struct MenuEntry {
  std::string Name;
  std::string Text;      // as given, "&" included
  std::string Shortcut;  // as shown ("Ctrl+F")
  bool Separator = false;
  bool Enabled = false;
  bool Visible = false;
  std::vector<MenuEntry> Items;
};
std::vector<MenuEntry> MenuBarOf(Window& window);
// Chooses the menu item named `name` of the window's menu bar with the mouse: a click
// on its menu in the bar, then on the item. False when the item is not there or its
// menu did not open.
bool ChooseMenu(Window& window, const std::string& name);
// Height of the menu bar shown above the window's content area (0 when none).
int32_t MenuBarHeight(Window& window);

// The frame's top-level widget geometry, for placement checks.
struct Rect {
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
};
Rect FrameGeometry(Window& window);

// Called before InitApplication: the offscreen platform shows these screens (left, top,
// width, height in the desktop's coordinates) instead of its one 800 x 800 screen. The
// first is the main (primary) screen.
void UseScreens(const std::vector<Rect>& screens);

// What a label, button or field shows: font family actually used and pixel size.
struct FontInfo {
  std::string Family;
  int32_t PixelSize = 0;
  bool Bold = false;
  bool FixedPitch = false;
};
FontInfo FontOf(Control& control);
// Alignment as 0 left, 1 centre, 2 right.
int32_t AlignmentOf(Control& control);
bool IsDefaultButton(Control& control);
// Kind of top-level window: 0 document window, 1 dialog.
int32_t FrameKind(Window& window);
bool HasCloseButton(Window& window);
bool HasTitleBar(Window& window);
// The window the desktop keeps this one in front of (its transient parent), or null.
Window* InFrontOf(Window& window);
bool IsResizable(Window& window);
Color BackgroundOf(Window& window);
// Controls of the window in the order the Tab key (Shift+Tab when `backwards`)
// visits them, from `first`.
std::vector<std::string> TabOrder(Window& window, Control& first, int steps, bool backwards = false);

}  // namespace fw::test
