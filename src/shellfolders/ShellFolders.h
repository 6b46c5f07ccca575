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

#include "platform/TabPage.h"
#include "browse/FileListView.h"
#include "shellfolders/logic/MergePlan.h"
#include "shellfolders/logic/MoveRules.h"
#include "shellfolders/Folders.h"
#include "shellfolders/HiddenStore.h"
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

// Lays out a group box holding a view, with an optional folder path panel as
// its top line; the margins are scaled for `dpi`.
void PlaceGroup(HWND group, HWND panel, HWND view, const RECT& r, const Dpi& dpi);
// A plain child control of a page: a group box, a panel. A panel shows a
// folder's path: when it does not fit, its middle gives way to an ellipsis
// (the end, the folder's own name, stays), and the whole path is its hint.
HWND CreateGroup(const PageHost& host, const wchar_t* caption, int id);
HWND CreatePanel(const PageHost& host, int id);
void SetPanelPath(const PageHost& host, HWND panel, const std::wstring& path);

// A context menu item of a page; the picture is its number in the window's
// shared image list (drawn by the main window, the menus' owner).
struct PageMenuEntry {
  const wchar_t* caption;  // nullptr: separator
  UINT id;
  int picture;
};
HMENU BuildPageMenu(const PageMenuEntry* entries, std::size_t count);
template <std::size_t N>
HMENU BuildPageMenu(const PageMenuEntry (&entries)[N]) {
  return BuildPageMenu(entries, N);
}

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

  // Start-up lookups of the four shell folders (creation step C7).
  void LookupShellFolders(HWND mainWindow);
  // Composes, creates and shows the hidden store (first showing step S7).
  void CreateHiddenStore(const std::wstring& roleLabel);
  // Moves into the store the items of every older store of the user
  // (AdoptOlderStores); says once for each old folder which stayed.
  void AdoptOlderStores(const std::wstring& roleLabel);
  // Creates the store's folders that are missing and gives both exactly the
  // hidden attribute: at start, and again before each hide, since the store
  // may have been deleted meanwhile.
  void MakeHiddenStore();
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
  bool FolderReady(const std::wstring& folder, bool quiet) const;
  // True when the shell answered success and the user cancelled nothing.
  bool MoveOne(ItemMove move, const std::wstring& source, const std::wstring& to, FILEOP_FLAGS extra);
  // Adds to `claimed` the indices of the moves the shell says it made.
  void RunBatch(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources, MoveBatch batch,
                const std::wstring& to, std::vector<std::size_t>& claimed);
  // Names of claimed moves that left their item in place.
  void CheckClaimedMoves(const std::vector<PlannedMove>& plan, const std::vector<std::wstring>& sources,
                         const std::vector<std::size_t>& claimed, const std::wstring& from,
                         std::vector<std::wstring>& notMoved) const;
  // Moves the entries of `source` one by one into the existing folder
  // `target`, asking for each name taken; what stays is added to `left` as
  // shownAs + "\" + name, what the user kept back ("Non") to `kept`, and
  // an emptied source is removed.
  void MergeInto(const std::wstring& source, const std::wstring& target, const std::wstring& shownAs,
                 std::vector<std::wstring>& left, std::vector<std::wstring>& kept);
  // The answer to a question of a move (true = Oui).
  bool Ask(const std::wstring& question) const;
  bool IsStoreFolder(const std::wstring& folder) const;
  HWND OperationOwner() const;

  struct NamedView {
    const wchar_t* name;
    TFileListView* view;
  };
  HWND window_ = nullptr;
  PageHost host_;
  std::vector<NamedView> views_;
  HWND panels_[kShellFolderCount] = {};
  StorePaths store_;
  std::array<DWORD, 2> storeError_{};  // why creating a store folder failed
  StoreWatch storeWatch_[2];
  bool busy_ = false;  // a command moves items, or the store is being looked at
};

}  // namespace ferlane
