#pragma once
// When a long list command lets its window answer and when it shows its
// progress, and whether the user asked it to stop. The command runs on the
// window's own thread: between two items it hands over to the window now and
// then, as this decides.
#include <cstddef>
#include <cstdint>
#include <string>

#include "protect/logic/HideShow.h"

namespace ferlane {

struct PaceSettings {
  // The progress window shows once the command has run this long, so a
  // short command never flashes one.
  std::uint32_t showAfterMs = 1000;
  // The window answers (paints, reads Esc and the stop button) at least this
  // often; 0: after every item.
  std::uint32_t answerEveryMs = 100;
};

enum class PaceStep {
  Go,            // on to the next item at once
  Answer,        // let the window answer first
  ShowProgress,  // show the progress window, then let the window answer
};

class CommandPace {
 public:
  // Times are milliseconds of a clock that may wrap (GetTickCount's).
  CommandPace(PaceSettings settings, std::uint32_t startMs)
      : settings_(settings), start_(startMs), lastAnswer_(startMs), interval_(settings.answerEveryMs) {}

  // After an item, at nowMs.
  PaceStep AfterItem(std::uint32_t nowMs);
  // The window answered from beginMs to endMs. The next answer is due after
  // answerEveryMs more of work, or after nine times as long as this answer
  // took when that is longer: answering (painting a long list, say) never
  // takes more than a tenth of the command's time. With answerEveryMs 0 the
  // window answers after every item all the same.
  void Answered(std::uint32_t beginMs, std::uint32_t endMs);
  // The user asked to stop (Esc, the stop button, the window closing): no
  // item is begun after this.
  void Stop() { stopped_ = true; }
  bool Stopped() const { return stopped_; }
  bool ProgressShown() const { return shown_; }

 private:
  PaceSettings settings_;
  std::uint32_t start_, lastAnswer_, interval_;
  bool shown_ = false, stopped_ = false;
};

// "Masquage des éléments..." and its sisters: the line above the bar.
std::wstring ProgressTitle(ListCommand command);
// "12 345 éléments sur 100 000", the thousands apart by the separator given.
std::wstring ProgressCount(std::size_t done, std::size_t total, const std::wstring& thousands);
// Said once a command the user stopped has ended: "Commande arrêtée : 120
// éléments traités, 880 laissés tels qu'ils étaient."
std::wstring StoppedText(std::size_t done, std::size_t total, const std::wstring& thousands);
// The bar's position out of 1,000 (the range every progress bar takes).
int ProgressPermille(std::size_t done, std::size_t total);

}  // namespace ferlane
