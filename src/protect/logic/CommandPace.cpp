#include "protect/logic/CommandPace.h"

namespace ferlane {

PaceStep CommandPace::AfterItem(std::uint32_t nowMs) {
  // Unsigned differences stay right across the clock's wrap.
  if (!shown_ && nowMs - start_ >= settings_.showAfterMs) {
    shown_ = true;
    lastAnswer_ = nowMs;
    return PaceStep::ShowProgress;
  }
  if (nowMs - lastAnswer_ >= settings_.answerEveryMs) {
    lastAnswer_ = nowMs;
    return PaceStep::Answer;
  }
  return PaceStep::Go;
}

std::wstring ProgressTitle(ListCommand command) {
  switch (command) {
    case ListCommand::ShowAll: return L"Affichage des \u00E9l\u00E9ments de la liste...";
    case ListCommand::HideAll: return L"Masquage des \u00E9l\u00E9ments de la liste...";
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

int ProgressPermille(std::size_t done, std::size_t total) {
  if (total == 0 || done >= total) return 1000;
  // In floating point, so no count can overflow.
  return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 1000.0);
}

}  // namespace ferlane
