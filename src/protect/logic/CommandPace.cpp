#include "protect/logic/CommandPace.h"

#include <algorithm>

namespace ferlane {

PaceStep CommandPace::AfterItem(std::uint32_t nowMs) {
  // Unsigned differences stay right across the clock's wrap.
  if (!shown_ && nowMs - start_ >= settings_.showAfterMs) {
    shown_ = true;
    return PaceStep::ShowProgress;
  }
  return nowMs - lastAnswer_ >= interval_ ? PaceStep::Answer : PaceStep::Go;
}

void CommandPace::Answered(std::uint32_t beginMs, std::uint32_t endMs) {
  // Counted from the end of the answer: an answer that outlasts the interval
  // must not make the next item answer again at once.
  lastAnswer_ = endMs;
  if (settings_.answerEveryMs == 0) return;  // after every item, however long
  const std::uint64_t nineTimes = std::uint64_t{endMs - beginMs} * 9;
  interval_ = static_cast<std::uint32_t>(
      std::clamp<std::uint64_t>(nineTimes, settings_.answerEveryMs, std::uint64_t{UINT32_MAX}));
}

std::wstring ProgressTitle(ListCommand command) {
  switch (command) {
    case ListCommand::ShowAll: return L"Affichage des \u00E9l\u00E9ments de la liste...";
    case ListCommand::HideAll: return L"Masquage des \u00E9l\u00E9ments de la liste...";
    case ListCommand::Refresh: return L"Lecture de l'\u00E9tat des \u00E9l\u00E9ments de la liste...";
    case ListCommand::ToggleSelected: break;
  }
  return L"Changement des \u00E9l\u00E9ments s\u00E9lectionn\u00E9s...";
}

namespace {

std::wstring Grouped(std::size_t n, const std::wstring& thousands) {
  std::wstring digits = std::to_wstring(n), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += thousands;
    out += digits[i];
  }
  return out;
}

}  // namespace

std::wstring ProgressCount(std::size_t done, std::size_t total, const std::wstring& thousands) {
  return Grouped(done, thousands) + (done < 2 ? L" \u00E9l\u00E9ment sur " : L" \u00E9l\u00E9ments sur ") +
         Grouped(total, thousands);
}

std::wstring StoppedText(std::size_t done, std::size_t total, const std::wstring& thousands) {
  const std::size_t left = total > done ? total - done : 0;
  return L"Commande arr\u00EAt\u00E9e : " + Grouped(done, thousands) +
         (done < 2 ? L" \u00E9l\u00E9ment trait\u00E9, " : L" \u00E9l\u00E9ments trait\u00E9s, ") +
         Grouped(left, thousands) +
         (left < 2 ? L" laiss\u00E9 tel qu'il \u00E9tait." : L" laiss\u00E9s tels qu'ils \u00E9taient.");
}

int ProgressPermille(std::size_t done, std::size_t total) {
  if (total == 0 || done >= total) return 1000;
  // In floating point, so no count can overflow.
  return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 1000.0);
}

}  // namespace ferlane
