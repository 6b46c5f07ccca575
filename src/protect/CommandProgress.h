#pragma once
// Keeps the window answering while a list command works on its thread: now
// and then between two items the pending messages run (paints among them),
// and past a second a small window shows how far the command is, with an
// "Arrêter" button. Esc or the button stops the command before its next item.
// Other input is dropped until the command ends, and the owner takes none
// while the progress window shows, as under a modal dialog.
#include <windows.h>

#include <functional>

#include "protect/logic/CommandPace.h"
#include "protect/logic/HideShow.h"

namespace ferlane {

class CommandProgress final : public IItemProgress {
 public:
  // owner: the top-level window the command runs for; view: repainted each
  // time the window answers; onItem: told of each item done first, so its
  // row shows what was done when the view paints.
  CommandProgress(HWND owner, HWND view, ListCommand command, PaceSettings pace,
                  std::function<void(std::size_t item, ItemState state)> onItem);
  // Closes the progress window, gives the owner its input back and passes
  // on a quit request the command took.
  ~CommandProgress() override;
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  bool ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) override;
  // Stops the command before its next item (the main window closing).
  void Stop() { pace_.Stop(); }
  bool Stopped() const { return pace_.Stopped(); }
  // The command took the thread's quit request (passed on at destruction).
  bool QuitTaken() const { return quit_; }
  // The progress window, once shown (nullptr before and after).
  HWND Window() const { return window_; }

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) { window_ = hwnd; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void ShowWindowNow(std::size_t total);
  void Refresh(std::size_t done, std::size_t total);
  void Answer();

  HWND owner_, view_;
  ListCommand command_;
  CommandPace pace_;
  std::function<void(std::size_t, ItemState)> onItem_;
  HWND window_ = nullptr, count_ = nullptr, bar_ = nullptr;
  HFONT font_ = nullptr;  // the shared dialog font
  bool ownerDisabled_ = false;
  bool quit_ = false;
  int quitCode_ = 0;
};

}  // namespace ferlane
