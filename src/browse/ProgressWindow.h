#pragma once
// The one modal progress window: a long job on the user-interface thread
// (a list command, a folder-size walk) keeps the program answering through
// it. Once shown it names the job, may show a bar, a line of figures and a
// stop button; Esc, the button or the close box ask the job to stop. While
// it lives, pending messages run at the job's pace, input meant for other
// windows is dropped, and the owner takes none while the window shows.
#include <windows.h>

#include <string>

namespace ferlane {

class ProgressWindow {
 public:
  explicit ProgressWindow(HWND owner) : owner_(owner) {}
  // Closes the window, gives the owner its input back and passes on a quit
  // request the job took.
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  struct Look {
    std::wstring caption;  // the window's title
    std::wstring title;    // a line above the figures; empty for none
    bool bar = false;      // a progress bar, 0 to 1000
    std::wstring line;     // the figures so far
    std::wstring button;   // "Arrêter", "Annuler" ...
  };
  // Shows the window, centred on the owner, with the focus on its button.
  void Show(const Look& look);
  void SetLine(const std::wstring& line);
  void SetPermille(int permille);
  // Runs the pending messages as described above.
  void Answer();
  // Esc, the button or the close box was used.
  bool StopAsked() const { return stopAsked_; }
  // The thread's quit request came meanwhile; the job stops as for a stop.
  bool QuitTaken() const { return quit_; }
  HWND Window() const { return window_; }

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) { window_ = hwnd; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND owner_;
  HWND window_ = nullptr, line_ = nullptr, bar_ = nullptr;
  bool ownerDisabled_ = false;
  bool stopAsked_ = false;
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace ferlane
