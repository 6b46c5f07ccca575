#pragma once
// The private rights of the list files and the hidden store on disk: given
// where they are missing, and the one message a run gives when the system
// refuses them.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/UniqueHandle.h"

namespace ferlane {

// Gives path the private rights (PrivateRights) when it carries others.
// evenIfSame writes them anyway, so that what was just moved into a folder
// takes them too. ERROR_SUCCESS, or the system's code; Windows of the 9x
// family keeps no rights and is left alone.
DWORD KeepPrivate(const std::wstring& path, bool folder, bool evenIfSame = false);

// Creates a file that carries the private rights from its first byte (a
// list file's new copy, a kept copy), so that no other user can open it at
// any moment; unshared unless share says (a reader would see half a file).
// rightsError: ERROR_SUCCESS, or why the rights could not be given (the file
// is then made with its folder's, and this is said).
HANDLE CreatePrivateFile(const std::wstring& path, DWORD access, DWORD disposition, DWORD& rightsError,
                         DWORD share = 0);
// Gives a moved item, and everything it holds, the rights of its new place
// (RightsAfterMove): `intoStore` when it came into the hidden store. Nothing
// on the 9x family; a link inside is not followed. ERROR_SUCCESS, or the
// first refusal (the rest is still done).
DWORD FollowPlace(const std::wstring& path, bool intoStore);

std::wstring RightsRefusedText(const std::wstring& path, DWORD error);

// Says once in a run that rights could not be given; the work goes on.
class RightsNotice {
 public:
  void Refused(HWND owner, const std::wstring& path, DWORD error);
  // For the command line: the line to write for the first refusal, then none.
  bool FirstRefusal(DWORD error);

 private:
  bool told_ = false;
};

}  // namespace ferlane
