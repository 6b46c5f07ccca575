#include "protect/CommandProgress.h"

#include "browse/TreeSizeProgress.h"
#include "platform/Messages.h"

namespace ferlane {

CommandProgress::CommandProgress(HWND owner, HWND view, ListCommand command, PaceSettings pace,
                                 std::function<void(std::size_t, ItemState)> onItem)
    : view_(view), command_(command), pace_(pace, ::GetTickCount()), onItem_(std::move(onItem)), window_(owner) {}

bool CommandProgress::ItemDone(std::size_t item, ItemState state, std::size_t done, std::size_t total) {
  if (onItem_) onItem_(item, state);
  switch (pace_.AfterItem(::GetTickCount())) {
    case PaceStep::Go: return !pace_.Stopped();
    case PaceStep::ShowProgress:
      // Nothing left to show for the last item.
      if (done < total)
        window_.Show({ApplicationTitle(), ProgressTitle(command_), true, ProgressCount(0, total, L" "),
                      L"Arr\u00EAter"});
      break;
    case PaceStep::Answer: break;
  }
  const DWORD begin = ::GetTickCount();
  static const std::wstring thousands = LocaleNumberFormat().thousandSeparator;
  window_.SetLine(ProgressCount(done, total, thousands));
  window_.SetPermille(ProgressPermille(done, total));
  Answer();
  pace_.Answered(begin, ::GetTickCount());
  return !pace_.Stopped();
}

void CommandProgress::Answer() {
  if (view_ && ::IsWindow(view_)) ::InvalidateRect(view_, nullptr, FALSE);
  window_.Answer();
  if (window_.StopAsked() || window_.QuitTaken()) pace_.Stop();
  // A list destroyed meanwhile (the session ending) has no rows to show more.
  if (view_ && !::IsWindow(view_)) pace_.Stop();
}

}  // namespace ferlane
