#pragma once
// The "send to any folder" dialog of the file list: a prompt, an edit box for
// the destination folder, and OK, Cancel and Browse buttons. Modal, centred
// on the screen, in the texts of the message table.
#include <windows.h>

#include <string>

namespace ferlane {

inline constexpr wchar_t kSendToDialogClass[] = L"TSendToPathDialog";
inline constexpr int kSendToEditId = 100;
inline constexpr int kSendToBrowseId = 101;

struct SendToAnswer {
  enum Button { Ok, Cancel, Browse } button = Cancel;
  std::wstring text;  // the edit box's text when OK was pressed
};

SendToAnswer RunSendToDialog(HWND owner, const std::wstring& initial);

}  // namespace ferlane
