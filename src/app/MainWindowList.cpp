// The protected list of the first tab as the main window drives it: its
// file read at start and made ready once the gates have passed, saved at
// close, and the commands and drops that act on it.
#include "app/MainWindow.h"

#include "listplace/ListFolder.h"
#include "commandline/logic/CommandLine.h"
#include "app/logic/ListFileTexts.h"
#include "platform/Messages.h"
#include "platform/PrivateRights.h"
#include "protect/ListFileIo.h"

namespace ferlane {

void Tficheprincipale::LoadListFile() {
  // Only a read: a start refused later must leave the folder as it was, so
  // the debris of a killed save goes, an older list file comes and the
  // administrator's folder for the lists is made only once the gates have
  // passed (AdoptWhatEarlierRunsLeft).
  const std::wstring name = ListFileName();
  const DWORD error = listView1_.LoadListFile(name, false);
  // Told at the first showing, after the gates: a refused start says nothing
  // but its refusal.
  if (error != ERROR_SUCCESS) {
    loadNotice_ = {ProtectedList::OpenErrorText(name, error), true};
    return;
  }
  // Words after a path cost no item: they are named once, at the close,
  // with the copy that keeps them.
  ProtectedList::Unplaced said = listView1_.LoadUnplaced();
  said.words.clear();
  if (said.Any()) loadNotice_ = {ProtectedList::UnplacedText(name, said), false};
}

void Tficheprincipale::AdoptWhatEarlierRunsLeft() {
  if (const std::optional<UserListFile> list = PlaceListFile()) {
    RemoveStaleListTempFiles(list->path);
    ReloadListThatCame(*list);
    TellWhatTheListMet(*list);
  }
  // Whatever became of the list, the store comes next.
  CreateHiddenStore();
  KeepListFilePrivate();
}

std::optional<UserListFile> Tficheprincipale::PlaceListFile() {
  // The lists earlier versions left elsewhere come beside the program, and
  // the folder a policy names is made and given the list from there.
  const UserListFile list = PrepareUserListFile(policies_, programFolder_, userName_);
  listFolderError_ = list.folderError;
  // A second start must find this window from the moment the folder exists,
  // while any box below is up included.
  if (listClaim_ && !madeFolderClaim_) madeFolderClaim_ = ClaimUnderMadeFolder(*listClaim_, ListFileName(), hwnd_);
  ::SetWindowTextW(groupBox1_, ListGroupCaption(list.folder, list.folderError == ERROR_SUCCESS).c_str());
  if (list.folderError != ERROR_SUCCESS) {
    // No other copy of the list stands in for it: it stays empty, unsaved.
    loadNotice_ = {};
    ShowError(hwnd_, ListFolderErrorText(list) +
                         L" La liste reste vide et ne sera pas enregistr\u00E9e.");
    return std::nullopt;
  }
  // A folder or a device where the list file should be: nothing is read
  // from it, and the close writes nothing in its place.
  if (const ListFileKind kind = ListPathKind(list.path); kind != ListFileKind::Disk) {
    listNotAFile_ = true;
    loadNotice_ = {};
    ShowError(hwnd_, NotAListText(list.path, kind) + L" La liste reste vide et ne sera pas enregistr\u00E9e.");
    return std::nullopt;
  }
  return list;
}

void Tficheprincipale::ReloadListThatCame(const UserListFile& list) {
  // The list was read from its place, which had no file then: the one that
  // came is read now.
  if (list.adoptedOlder || !list.movedFrom.empty()) {
    loadNotice_ = {};
    LoadListFile();
  }
}

void Tficheprincipale::TellWhatTheListMet(const UserListFile& list) {
  if (!list.movedFrom.empty())
    ShowMessage(hwnd_, ListMovedText(list), MB_OK | (!list.leftBeside.empty() ? MB_ICONWARNING : MB_ICONINFORMATION));
  rightsNotice_.Refused(hwnd_, list.path, list.rightsError);
  if (!loadNotice_.text.empty()) {
    if (loadNotice_.error) ShowError(hwnd_, loadNotice_.text);
    else ShowWarning(hwnd_, loadNotice_.text);
    loadNotice_ = {};
  }
}

void Tficheprincipale::KeepListFilePrivate() {
  // Should a copy or an earlier version have left the list file open to
  // everyone: it is written only when the list changed.
  const std::wstring name = ListFileName();
  if (ListUsable() && ::GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES)
    rightsNotice_.Refused(hwnd_, name, KeepPrivate(name, false));
}

bool Tficheprincipale::SaveListFile(bool endingSession) {
  if (!ListUsable()) return true;  // said at start; no other copy is written
  const std::wstring name = ListFileName();
  const std::vector<std::wstring> words = listView1_.LoadUnplaced().words;
  DWORD error = listView1_.SaveListFile(name);
  rightsNotice_.Refused(hwnd_, name, listView1_.RightsError());
  if (!endingSession && !listView1_.KeptCopy().empty()) {
    if (listView1_.DiskUnplaced().Any())
      ShowWarning(hwnd_, ProtectedList::UnplacedText(name, listView1_.DiskUnplaced(), listView1_.KeptCopy()));
    else if (!words.empty())
      ShowWarning(hwnd_, ProtectedList::UnplacedText(name, {true, {}, words}, listView1_.KeptCopy()));
  }
  if (error == ERROR_SUCCESS && !endingSession) {
    std::wstring text;
    if (listView1_.WrittenBack())
      text = WrittenBackText(name, listView1_.WrittenBack(), listView1_.ListWasMissing(),
                             listView1_.DiskUnplaced().Any() ? std::wstring() : listView1_.KeptCopy());
    else if (listView1_.MergedFromDisk() || listView1_.RemovedOnDisk())
      text = MergedRowsText(name, listView1_.MergedFromDisk(), listView1_.RemovedOnDisk());
    if (listView1_.JoinedRows()) text += (text.empty() ? L"" : L"\r\n") + JoinedRowsText(name, listView1_.JoinedRows());
    if (!text.empty()) ShowMessage(hwnd_, text, MB_OK | MB_ICONINFORMATION);
  }
  if (error == ERROR_SUCCESS || endingSession) return true;
  // The old list file is still whole; the user chooses between closing
  // without saving the list and staying to try again.
  std::wstring why;
  if (error == kListKeepsChanging) why = KeepsChangingText(name);
  else if (IsReadOnlyFile(name)) why = ReadOnlyListText(name);
  else why = ProtectedList::CreateErrorText(name, error);
  const std::wstring text = why + L"\r\n\r\nFermer quand même sans enregistrer la liste ?";
  return ShowMessage(hwnd_, text, MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

void Tficheprincipale::RunListCommand(void (ProtectedList::*command)()) {
  listView1_.SetEventTrail(trail_, ListFileName());
  (listView1_.*command)();
  if (closeAfterCommand_ && !listView1_.Busy()) {
    closeAfterCommand_ = false;
    ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  }
}

void Tficheprincipale::SpeedButton1Click() { RunListCommand(&ProtectedList::SpeedButton1Click); }

void Tficheprincipale::SpeedButton2Click() { RunListCommand(&ProtectedList::SpeedButton2Click); }

void Tficheprincipale::CacherouVoirlaslection1Click() {
  RunListCommand(&ProtectedList::CacherouVoirlaslection1Click);
}

void Tficheprincipale::outSelectionner2Click() { listView1_.outSelectionner2Click(); }

void Tficheprincipale::Supprimer2Click() {
  listView1_.Supprimer2Click();
  UpdateListButtons();
}

void Tficheprincipale::Supprimer1Click() {
  listView1_.Supprimer1Click();
  UpdateListButtons();
}

void Tficheprincipale::outSelectionner1Click() { ProtectedList::outSelectionner1Click(fileListView1_); }

void Tficheprincipale::ouslesRpertoires1Click() { ProtectedList::ouslesRpertoires1Click(fileListView1_); }

void Tficheprincipale::ouslesFichiers1Click() { ProtectedList::ouslesFichiers1Click(fileListView1_); }

void Tficheprincipale::UpdateListButtons() {
  const BOOL enable = listView1_.ItemCount() > 0;
  for (int i = 0; i < 3; ++i) ::EnableWindow(speedButtons_[i], enable);
}

bool Tficheprincipale::DragOver(TFileListView& source, HWND target, POINT) {
  if (!ListUsable()) return false;
  if (target == listView1_.hwnd() || ::GetParent(target) == listView1_.hwnd())
    return ProtectedList::ListView1DragOver(&source);
  return false;
}

void Tficheprincipale::DragDrop(TFileListView& source, HWND target, POINT) {
  if (ListUsable() && (target == listView1_.hwnd() || ::GetParent(target) == listView1_.hwnd())) {
    listView1_.ListView1DragDrop(&source, fileListView1_);
    UpdateListButtons();
  }
}

}  // namespace ferlane
