#pragma once
// Keeps the window answering while a list command works on its thread: now
// and then between two items the pending messages run (paints among them),
// and past a second the progress window shows how far the command is, with
// an "Arrêter" button. Esc or the button stops the command before its next
// item. Other input is dropped until the command ends (ProgressWindow).
#include <windows.h>

#include <functional>

#include "browse/ProgressWindow.h"
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
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

  bool ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) override;
  // Stops the command before its next item (the main window closing).
  void Stop() { pace_.Stop(); }
  bool Stopped() const { return pace_.Stopped(); }
  // The command took the thread's quit request (passed on at destruction).
  bool QuitTaken() const { return window_.QuitTaken(); }
  // The progress window, once shown (nullptr before and after).
  HWND Window() const { return window_.Window(); }

 private:
  void Answer();

  HWND view_;
  ListCommand command_;
  CommandPace pace_;
  std::function<void(std::size_t, ItemState)> onItem_;
  ProgressWindow window_;
};

}  // namespace ferlane
