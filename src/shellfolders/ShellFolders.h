#pragma once
// The four shell folders and the hidden store, the shell movers, and the
// views of tabs 2 to 4 known by their component names.
//
// The main window owns the one ShellFolders of a run and lends it to the pages
// of tabs 2 to 4; the pages own the views and panels it refers to. It is the
// drag target of those views: a drop is routed by the views' names.
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/PrivateRights.h"
#include "platform/TabPage.h"
#include "browse/FileListView.h"
#include "shellfolders/logic/MergePlan.h"
#include "shellfolders/logic/MoveRules.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
#include "shellfolders/Moves.h"
#include "shellfolders/PageHelpers.h"
#include "shellfolders/QuietMoves.h"

namespace ferlane {

// How a view of tabs 2 to 4 is set up; the properties they share are set by
// CreateShellView.
struct ShellViewSetup {
  const wchar_t* name;  // component name, compared by the drops
  int id;
  bool showFolders;
  bool dblClickToOpen;
  const wchar_t* parentCaption;
  const wchar_t* hint;
};

class ShellFolders : public IFileDragTarget {
 public:
  // Creates `view` as a child of the main window and registers it by name.
  void CreateShellView(const PageHost& host, TFileListView& view, const ShellViewSetup& setup, HMENU popup);
  TFileListView* View(std::wstring_view name) const;
  const wchar_t* NameOf(const TFileListView& view) const;
  // The folder path panel of a shell folder; its caption is the folder's path.
  void SetPanel(ShellFolder folder, HWND panel) { panels_[static_cast<int>(folder)] = panel; }
  HWND Panel(ShellFolder folder) const { return panels_[static_cast<int>(folder)]; }
  std::wstring FolderPath(ShellFolder folder) const;
  const std::wstring& StorePath(StoreFolder f) const { return store_[static_cast<int>(f)]; }
  // Composes the two store paths for the role label, creating nothing.
  void ComposeStorePaths(const std::wstring& roleLabel) { store_ = ferlane::ComposeStorePaths(roleLabel); }

  // Start-up lookups of the four shell folders, when the window is created.
  void LookupShellFolders(HWND mainWindow);
  // Composes, creates and shows the hidden store, at the window's first showing.
  void CreateHiddenStore(const std::wstring& roleLabel);
  // Moves into the store the items of every older store of the user
  // (AdoptOlderStores); says for each old folder which stayed, unless the
  // set of what stayed is the one told before (SetStrandedTold).
  void AdoptOlderStores(const std::wstring& roleLabel);
  // Names what earlier moves left under an aside name (FindSetAside), at
  // every start until the user has dealt with it.
  void NameSetAside(const std::wstring& programFolder);
  // The digest (StrandedDigest) of the stranded items the user was last
  // told of, which the window keeps from one run to the next; after
  // CreateHiddenStore, that of the items that stay now.
  void SetStrandedTold(std::wstring digest) { strandedTold_ = std::move(digest); }
  const std::wstring& StrandedTold() const { return strandedTold_; }
  // Creates the store's folders that are missing and gives both exactly the
  // hidden attribute: at start, and again before each hide, since the store
  // may have been deleted meanwhile.
  void MakeHiddenStore();
  // Where a refusal of the store's rights is told: the main window's notice,
  // which speaks once for the whole run.
  void SetRightsNotice(RightsNotice& notice) { rightsNotice_ = &notice; }
  // Where the moves and the joining of older stores write their events.
  void SetEventTrail(IEventTrail* trail) {
    trail_ = trail;
    moves_.SetEventTrail(trail);
  }
  // Points `view` at a special folder afresh, re-listing it.
  void ShowShellFolder(TFileListView* view, int csidl);
  // Lists a store folder afresh; one that is missing (or a file) is shown
  // empty, never replaced by another listing.
  void ShowStoreFolder(TFileListView* view, StoreFolder f);
  // Lists the store's views again when a store folder changed or vanished;
  // a vanished one is told once while `visible` (tab 4 shown).
  void WatchStore(bool visible);

  enum class MoveOutcome { Done, FolderMissing };
  // Moves the selected items of `view` by `rule` from `from` to `to`. Before
  // anything moves, both folders must exist (a store folder is named as
  // such); when one is missing the user is told once, unless `quiet`.
  MoveOutcome MoveSelected(TFileListView& view, const std::wstring& from, const std::wstring& to, ItemRule rule,
                           bool quiet = false);
  // The same for items named rather than selected.
  MoveOutcome MoveItems(const std::vector<MoveItem>& items, const std::wstring& from, const std::wstring& to,
                        ItemRule rule, bool quiet = false);

  // The four relocation routes; the dragged view is the source.
  bool DragOver(TFileListView& source, HWND target, POINT screenPt) override;
  void DragDrop(TFileListView& source, HWND target, POINT screenPt) override;
  // F6: moves the selection of `source` to the view facing it, as a drop
  // there would. False when no view faces it.
  bool SendToFacingView(TFileListView& source);

 private:
  struct NamedView {
    const wchar_t* name;
    TFileListView* view;
  };
  void TellRightsRefused(DWORD error);

  HWND window_ = nullptr;
  PageHost host_;
  std::vector<NamedView> views_;
  HWND panels_[kShellFolderCount] = {};
  StorePaths store_;
  std::array<DWORD, 2> storeError_{};  // why creating a store folder failed
  RightsNotice ownNotice_;
  RightsNotice* rightsNotice_ = &ownNotice_;
  StoreWatch storeWatch_[2];
  bool busy_ = false;  // the store is being looked at
  std::wstring strandedTold_;
  IEventTrail* trail_ = nullptr;
  ShellMoves moves_{window_, store_, storeError_};
};

}  // namespace ferlane
