#include "browse/TreeSizeProgress.h"

#include "browse/ProgressWindow.h"
#include "browse/logic/FileOpsLogic.h"

namespace ferlane {
namespace {

// How often the figures of a walk are shown afresh, in milliseconds.
constexpr DWORD kRefreshEvery = 200;

}  // namespace

fileops::NumberFormat LocaleNumberFormat() {
  fileops::NumberFormat f;
  wchar_t buf[8];
  if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_STHOUSAND, buf, 8) > 1) f.thousandSeparator = buf;
  if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_SDECIMAL, buf, 8) > 1) f.decimalSeparator = buf;
  return f;
}

bool WaitWithProgress(FolderSizeWalk& walk, HWND owner, const std::wstring& caption, TLanguage language,
                      DWORD delay) {
  // No delay shows the window at once, before even a quick walk has ended.
  if (delay > 0 && walk.Wait(delay)) return !walk.Cancelled();

  const fileops::NumberFormat format = LocaleNumberFormat();
  auto figures = [&] { return fileops::ProgressLine(language, walk.Folders(), walk.Bytes(), format); };
  ProgressWindow window(owner);
  window.Show({caption, L"", false, figures(), fileops::ProgressCancelCaption(language)});
  HANDLE done = walk.DoneEvent();
  bool stopped = false;
  DWORD shown = ::GetTickCount();
  for (;;) {
    window.Answer();
    // Stopped by the user: no figure, even if the walk has just ended.
    if (!stopped && (window.StopAsked() || window.QuitTaken())) {
      stopped = window.StopAsked();
      walk.Cancel();
    }
    if (walk.Wait(0)) break;
    ::MsgWaitForMultipleObjects(1, &done, FALSE, kRefreshEvery, QS_ALLINPUT);
    // By the clock, not by the wait's outcome: a busy queue must not hold
    // the figures back.
    if (::GetTickCount() - shown >= kRefreshEvery) {
      window.SetLine(figures());
      shown = ::GetTickCount();
    }
  }
  return !stopped && !walk.Cancelled();
}

}  // namespace ferlane
