#pragma once
// The framework's bookkeeping of live windows; internal to framework/.

namespace fw {

class Window;

class WindowRegistry {
 public:
  // Builds a new window; it opens now, or once the application has opened.
  static void Construct(Window& w);
  // The application's Open event is done: open the windows waiting for it.
  static void ApplicationDidOpen();
  // The window is no longer the live instance of its class.
  static void Forget(Window& w);
  // Forgets the window and deletes it once the current event is done.
  static void Destroy(Window& w);
  // The window came to the front (shown, raised or activated).
  static void BroughtToFront(Window& w);
  // Closes every live window, each with its Close event: front-most first, as a
  // desktop does, and the application's first window last.
  static void CloseAll();
  // Deletes every window without any event (the end of a run, or of a test).
  static void DestroyAllSilently();
  // Back to the state before start-up (tests).
  static void Reset();
};

}  // namespace fw
