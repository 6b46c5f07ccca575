#pragma once
// Tficheprincipale: the main window, its creation steps, first showing and
// close steps, and the commands of its menus and toolbar.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/EventTrail.h"
#include "platform/TabPage.h"
#include "listplace/ListFolder.h"
#include "listplace/ListWindowClaim.h"
#include "app/ToolbarPictures.h"
#include "policies/logic/Policies.h"
#include "browse/DirTree.h"
#include "browse/FileListView.h"
#include "platform/UniqueHandle.h"
#include "protect/ProtectedList.h"
#include "settings/ExplorerSettingsPage.h"
#include "shellfolders/HiddenStorePage.h"
#include "shellfolders/PersonalItemsPage.h"
#include "shellfolders/ShortcutsPage.h"

namespace ferlane {

class TPasse;
class Tsaisie;
class Tnouveaupasse;

// The password windows live as long as the main window; the application owns them.
struct PasswordWindows {
  TPasse* passe = nullptr;
  Tsaisie* saisie = nullptr;
  Tnouveaupasse* nouveaupasse = nullptr;
};

class Tficheprincipale : public IFileDragTarget {
 public:
  // programFolder: the executable's folder with its trailing backslash;
  // policies: what the administrator imposes (ReadPolicies).
  explicit Tficheprincipale(std::wstring programFolder, Policies policies = {});
  ~Tficheprincipale() override;
  Tficheprincipale(const Tficheprincipale&) = delete;
  Tficheprincipale& operator=(const Tficheprincipale&) = delete;

  // Creates the hidden window and runs the creation steps.
  bool Create(HINSTANCE instance);
  void SetPasswordWindows(const PasswordWindows& windows) { passwords_ = windows; }
  // Where the window's commands and refusals write their events, the pages'
  // included; none by default. Not owned.
  void SetEventTrail(IEventTrail* trail) {
    trail_ = trail;
    shellFolders_.SetEventTrail(trail);
    explorerSettings_.SetEventTrail(trail);
  }
  // The claim this start holds on its list. The window claims the list
  // under the folder it makes for it too, as soon as that folder is made
  // and before any box of the first showing. Not owned.
  void SetListClaim(const ListWindowClaim* claim) { listClaim_ = claim; }
  // The main loop's first showing: FormShow, then the window becomes visible
  // unless termination was requested meanwhile.
  void ShowFirstTime();

  HWND hwnd() const { return hwnd_; }
  const std::wstring& UserName() const { return userName_; }
  const std::wstring& CurrentPassword() const { return currentPassword_; }
  const std::wstring& RoleLabel() const { return roleLabel_; }
  const std::vector<std::wstring>& FixedDrives() const { return fixedDrives_; }
  std::wstring ListFileName() const { return UserListPath(policies_, programFolder_, userName_); }
  // False when the folder a policy names for the lists cannot be reached, or
  // the list's path is a folder or a device: the list then stays empty,
  // takes no item and is never written.
  bool ListUsable() const { return listFolderError_ == ERROR_SUCCESS && !listNotAFile_; }

  TDirTree& DirTree1() { return dirTree1_; }
  TFileListView& FileListView1() { return fileListView1_; }
  ProtectedList& ListView1() { return listView1_; }
  HWND SpeedButton(int n) const;  // 1..3, 5
  HWND PageControl1() const { return pageControl1_; }
  ExplorerSettingsPage& ExplorerSettings() { return explorerSettings_; }
  // The views of tabs 2 to 4 by name, their folders and the hidden store.
  ShellFolders& ShellFolderViews() { return shellFolders_; }
  PersonalItemsPage& PersonalItems() { return personalItems_; }
  HiddenStorePage& HiddenStore() { return hiddenStore_; }

  // Handlers, named after their control and event.
  void FormCreate();
  void FormShow();
  bool FormCloseQuery(bool endingSession = false);
  void Fermer2Click();
  void SpeedButton5Click();    // "&Rétablir le bureau et les programmes"
  void AidedeFerlane1Click();  // "Aide de Ferlane"
  void Mcrire1Click();         // "M'écrire"
  void Changerlemotdepasse1Click();
  void SpeedButton1Click();
  void SpeedButton2Click();
  void Supprimer2Click();
  void Supprimer1Click();
  void CacherouVoirlaslection1Click();
  void outSelectionner1Click();
  void outSelectionner2Click();
  void ouslesRpertoires1Click();
  void ouslesFichiers1Click();
  void PageControl1Change();
  void ListView1Change();
  void UpdateListButtons();

  // "Actualiser" (F5); F6 in tab 1's file list ("Ajouter la sélection à la
  // liste") and in a view of tab 2 ("Déplacer la sélection en face").
  void Actualiser1Click();
  void AjouterALaListeClick();
  void DeplacerEnFaceClick();
  // The main loop's keys before they are dispatched (MainWindowKeyboard.cpp):
  // true when the window took the message.
  bool PreTranslateMessage(MSG& msg);

  // Access keys (MainWindowAccessKeys.cpp). What Alt+letter can reach now:
  // the visible, enabled controls in tab order, each tab of the tab control
  // a target of its own (tab >= 0), with their captions.
  struct AccessKeyTarget {
    HWND hwnd;
    int tab;
    std::wstring caption;
  };
  std::vector<AccessKeyTarget> AccessKeyTargets() const;
  std::vector<std::wstring> MenuBarCaptions() const;
  // Alt+letter: false leaves it to the menu bar, which has the letter.
  bool OnAccessKey(wchar_t key);

  // Drops of file list rows on the window's views.
  bool DragOver(TFileListView& source, HWND target, POINT screenPt) override;
  void DragDrop(TFileListView& source, HWND target, POINT screenPt) override;

 private:
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void CreateMainMenu();
  void Layout();
  void OnCommand(UINT id);
  void OnContextMenu(HWND target, POINT screenPt);
  void ShowTabPage(int index);
  // The keyboard (MainWindowKeyboard.cpp).
  void TabOrder(std::vector<HWND>& order) const;
  void FocusControl(HWND h);
  void MoveFocus(bool back);
  void SelectTab(int index);
  TFileListView* FacingSource() const;  // the focused view of tab 2, with a view facing it
  void UpdateActionMenu(HMENU menu);
  bool OpenContextMenuFromKeyboard();
  void OnNextDialogControl(WPARAM wp, LPARAM lp);
  // The splitters of the first tab: between the tree and the file list, and
  // between that column and the protected list.
  enum class Splitter { None, TreeList, Columns };
  RECT PageRect() const;
  Splitter SplitterAt(POINT clientPt) const;
  void BeginSplitterDrag(POINT clientPt);
  void MoveSplitter(POINT clientPt);

  // Creation and first-showing steps that other subsystems fill.
  void LookupShellFolders();    // the four shell-folder views, at creation
  void ReadExplorerSettings();  // the special-operations check boxes, at first showing
  void CreateHiddenStore();     // the hidden store folders and views, at first showing
  // Which stranded items of older stores the user was last told of, and
  // the new set once the store said it.
  std::wstring ReadStrandedTold() const;
  void RememberStrandedTold(const std::wstring& before);

  // Runs a hide or show command of the list; a close asked meanwhile
  // stopped it and is carried out once it has ended.
  void RunListCommand(void (ProtectedList::*command)());

  void ReadPlacement();
  void SetCaptionAndRole();
  void LoadListFile();
  // After the administrator test and the password gate: the older list file,
  // the debris of a killed save, the load's message, the hidden store.
  void AdoptWhatEarlierRunsLeft();
  // Its steps: the list's folder made and the list moved in (nothing when
  // the list cannot be used, which is said); the list read again when one
  // came; what the move, the rights and the load met, said; the list file's
  // private rights given where they are missing.
  std::optional<UserListFile> PlaceListFile();
  void ReloadListThatCame(const UserListFile& list);
  void TellWhatTheListMet(const UserListFile& list);
  void KeepListFilePrivate();
  bool SaveListFile(bool endingSession);
  void WriteSettings();
  void RunPasswordGate();
  // The password's event once its value was written at close.
  void RecordPasswordWrite();

  std::wstring programFolder_;
  Policies policies_;
  DWORD listFolderError_ = ERROR_SUCCESS;
  const ListWindowClaim* listClaim_ = nullptr;
  std::optional<ListWindowClaim> madeFolderClaim_;
  bool listNotAFile_ = false;
  HINSTANCE instance_ = nullptr;
  HWND hwnd_ = nullptr;
  bool closeStepsDone_ = false;
  bool closeAfterCommand_ = false;
  HWND focusAnchor_ = nullptr;  // a group box whose access key was pressed
  HWND lastFocus_ = nullptr;    // the focus when the window was last deactivated
  HMENU actionMenu_ = nullptr;
  Dpi dpi_;  // the screen's, read at creation
  // In the screen's pixels: set from the design at creation, then dragged.
  int leftColumnWidth_ = 0;
  int treeHeight_ = 0;
  Splitter dragging_ = Splitter::None;
  int grabOffset_ = 0;

  std::wstring userName_;
  // In its stored form (a hash, or empty for none), never as typed.
  std::wstring currentPassword_;
  // The stored form read at start, and whether the user chose another since:
  // the close's write of the value is then an event.
  std::wstring passwordAtStart_;
  bool passwordChosen_ = false;
  IEventTrail* trail_ = nullptr;
  std::wstring roleLabel_;
  int osFamily_ = -1;
  std::vector<std::wstring> fixedDrives_;
  PasswordWindows passwords_;
  struct LoadNotice {
    std::wstring text;  // empty: nothing to say
    bool error = false;
  } loadNotice_;

  HFONT font_ = nullptr;  // the shared dialog font
  UniqueHMenu popup1_;
  UniqueHMenu popup2_;
  HWND label1_ = nullptr;
  HWND speedButtons_[4] = {};  // SpeedButton1, 2, 3 and 5
  ToolbarPictures toolbarPictures_;
  HWND bevel1_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND pageControl1_ = nullptr;
  HWND groupBox1_ = nullptr;
  TDirTree dirTree1_;
  TFileListView fileListView1_;
  ProtectedList listView1_;

  // Tabs 2 to 4; tab 3 holds two pages side by side. The shell folders and
  // the hidden store are shared by the pages that show them.
  RightsNotice rightsNotice_;  // one word in a run on refused rights
  ShellFolders shellFolders_;
  ShortcutsPage shortcuts_{shellFolders_};
  ExplorerSettingsPage explorerSettings_;
  PersonalItemsPage personalItems_{shellFolders_};
  HiddenStorePage hiddenStore_{shellFolders_};
  struct PageSlot {
    int tab;
    ITabPage* page;
  };
  const PageSlot pages_[4] = {
      {1, &shortcuts_}, {2, &explorerSettings_}, {2, &personalItems_}, {3, &hiddenStore_}};
  RECT PageArea(const PageSlot& slot) const;
};

}  // namespace ferlane
