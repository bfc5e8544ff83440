#pragma once
// Shared by the framework's own sources; nothing outside framework/ includes this.

#include <QApplication>
#include <QFont>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QWindow;

namespace fw {

class MenuBar;
class Window;
class WindowFrame;
class PushButton;

// A Qt menu bar showing `bar`; its commands reach the application's menu handlers.
QMenuBar* BuildMenuBar(MenuBar& bar);

namespace detail {

inline int beepCount = 0;
inline bool quitRequested = false;
inline int quitCode = 0;
// Print jobs go to this PDF file when set (tests).
inline std::string printFile;
// Seconds the last print job's painter ran, from its begin to its end (benchmarks).
inline double lastJobPaintSeconds = 0;

// A font by its design name at a size in device pixels (0: the default size).
QFont MakeFont(const std::string& family, double pixelSize, bool bold);

QString Q(const std::string& s);
std::string S(const QString& s);

// Builds Qt's application object, which picks the platform. Qt's messages go out as
// they come; a platform that cannot start, now or as the first window is made, ends
// the run with one more line on standard error, saying why, and exit status 1.
std::unique_ptr<QApplication> StartPlatform(int& argc, char** argv);

// Whether the run shows its windows through one of Qt's Wayland platforms.
bool OnWayland();

// Gives SIGTERM, SIGINT and SIGHUP back their earlier handling (the end of a run).
void ReleaseQuitRequests();

// Every live window, oldest first.
std::vector<Window*>& LiveWindows();

// From now on a window or dialog that goes away while active hands the activation on.
void KeepActivation();

// The application's first window (the one start-up made), or null.
Window* FirstWindow();
// Activates the window; one that a modal showing blocks would take no keys, so the
// modal window in front of it is activated instead, as a desktop does.
void Activate(QWidget& window);

// One showing of a window with ShowModal, for as long as the object lives. The
// windows on screen as it begins take no input (but in their menu bar) until it ends;
// a click on one brings the modal window forward.
class ModalShowing {
 public:
  explicit ModalShowing(WindowFrame& window);
  ~ModalShowing();
  ModalShowing(const ModalShowing&) = delete;
  ModalShowing& operator=(const ModalShowing&) = delete;
};
// A window was shown or hidden: a modal one blocks the windows it came up over while,
// and only while, it is on screen.
void UpdateModalBlocking();
// The window of the latest modal showing still up, or null.
Window* ModalWindow();
// Whether a modal showing keeps input from this top-level window.
bool Blocked(const QWidget& window);
// The window takes input again: its command brought it forward.
void Unblock(const QWidget& window);

}  // namespace detail

// The top-level widget of a window: an optional menu bar above the content area.
class WindowFrame : public QWidget {
 public:
  explicit WindowFrame(Window& owner);

  Window& Owner() const { return owner_; }
  QWidget* Content() const { return content_; }
  QMenuBar* Bar() const { return bar_; }
  int BarHeight() const { return bar_ ? bar_->sizeHint().height() : 0; }
  void InstallBar(QMenuBar* bar);
  void FixSize(int width, int height, bool resizeable);
  // The control the Tab key (Shift+Tab when not `next`) moves the focus to, by tab
  // index; the first (last) when no control has it. Null when the window has none.
  QWidget* NextStop(bool next) const;
  // The enabled button that Return (`enter`) or Escape presses, or null.
  PushButton* KeyButton(bool enter) const;

  // Shows the window in front and activates it.
  void Present();
  // The window the desktop keeps this one in front of: for a dialog, the
  // application's first window; none for that window and other document windows.
  QWindow* DesktopParent() const;

  // While a modal window blocks this one, its content takes no input, and the control
  // that had the focus gets it back afterwards.
  void SetBlocked(bool blocked);

  // Lets a modal showing wait for the window to be hidden.
  bool hidden = true;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  Window& owner_;
  QWidget* content_;
  QMenuBar* bar_ = nullptr;
  QPointer<QWidget> focusBeforeBlock_;
};

}  // namespace fw
