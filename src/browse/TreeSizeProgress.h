#pragma once
// Waits for a folder-size walk without freezing the window: past a short
// delay a small window shows the folders and bytes counted so far, with a
// cancel button; Esc or the button stops the walk.
#include <windows.h>

#include <string>

#include "browse/FolderSize.h"
#include "browse/logic/FileOpsLogic.h"
#include "browse/logic/Language.h"

namespace ferlane {

// How long a walk runs before its progress window shows, in milliseconds.
inline constexpr DWORD kTreeSizeProgressDelay = 1000;

// Thousands and decimal separators of the thread's locale.
fileops::NumberFormat LocaleNumberFormat();

// Runs a started walk to its end; false when the user stopped it.
bool WaitWithProgress(FolderSizeWalk& walk, HWND owner, const std::wstring& caption, TLanguage language,
                      DWORD delay = kTreeSizeProgressDelay);

}  // namespace ferlane
