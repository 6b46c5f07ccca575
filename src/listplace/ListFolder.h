#pragma once
// The user's list file made ready before it is read, for the window and the
// command line alike: the older files an earlier version left elsewhere
// moved in, and, when a policy names a folder for the lists, that folder
// made and the list beside the program moved there, or copied there where
// the account may not move it.
#include <windows.h>

#include <string>

#include "policies/logic/Policies.h"

namespace ferlane {

struct UserListFile {
  std::wstring path;    // where the user's list is read and written
  std::wstring folder;  // the folder a policy names; empty: beside the program
  // The policy's folder cannot be reached, made, or given the list: no list
  // is read or written, never another copy in its place.
  DWORD folderError = ERROR_SUCCESS;
  // A list an earlier version left elsewhere came beside the program now.
  bool adoptedOlder = false;
  // The list that was beside the program, moved (or copied) into the folder now.
  std::wstring movedFrom;
  // Where the old list stays, beside the program and no longer used, when
  // the system would not let it go; empty when it went.
  std::wstring leftBeside;
  // When set, folderError is about this list beside the program (it could
  // not be read for its copy), not about the folder.
  std::wstring unreadableBeside;
  // Why the moved file could not be given the private rights.
  DWORD rightsError = ERROR_SUCCESS;
};

// Never moves over a file: a list already in the folder is the user's, and
// the one beside the program then stays where it is. A list that cannot be
// moved (a standard user may not rename in the program's folder) is copied:
// the old one goes only once the copy reads back the same, and where the
// system refuses that, stays (leftBeside).
UserListFile PrepareUserListFile(const Policies& policies, const std::wstring& programFolder,
                                 const std::wstring& userName);

// "Le dossier des listes "<folder>" ... ne peut pas être atteint : <reason>"
std::wstring ListFolderUnreachableText(const std::wstring& folder, DWORD error);
// Why the list cannot be used: the folder, or the list beside the program
// that could not be copied into it, as folderError says.
std::wstring ListFolderErrorText(const UserListFile& list);
// The list beside the program went into the policy's folder (copied, and the
// old one left beside the program, when list.leftBeside names it).
std::wstring ListMovedText(const UserListFile& list);
// The caption of the list's group box: the folder named when a policy sets it.
std::wstring ListGroupCaption(const std::wstring& folder, bool reachable);

// Whether the list at `from` could leave its folder (a move) or could only be
// copied, the file staying there: asked by opening it for deletion, which
// removes nothing, as the system's own check of a move or a delete does.
// Wine run as a standard user grants that open in a folder the user cannot
// write, where the rename is then refused: there it says moved, not copied.
bool ListCouldLeave(const std::wstring& from);

// What PrepareUserListFile would do, found by reading only: nothing is made,
// moved or copied. For a trial of the command line.
struct UserListLook {
  std::wstring path;    // where the user's list would be read
  std::wstring folder;  // the folder a policy names; empty: beside the program
  DWORD folderError = ERROR_SUCCESS;  // known now to stop the run
  bool folderWouldBeMade = false;
  std::wstring olderFrom;  // an earlier version's list, moved beside the program first
  std::wstring movedFrom;  // the list that would go into the folder, and how
  bool copied = false;
  // The file the run would read its items from once the list has come.
  std::wstring readFrom;
};
UserListLook LookAtUserListFile(const Policies& policies, const std::wstring& programFolder,
                                const std::wstring& userName);

}  // namespace ferlane
