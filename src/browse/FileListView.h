#pragma once
// TFileListView: a list view of one folder, or of the drives, with shell
// icons and type names, its own navigation, keys and in-place rename.
//
// The widget is a window of its own class hosting a virtual list view that
// fills it: rows live in the widget and the list asks for what it draws, so
// a folder of a hundred thousand entries lists about as fast as it can be
// enumerated.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "browse/ShellOps.h"
#include "browse/logic/FileListFormat.h"
#include "browse/logic/Language.h"
#include "browse/logic/NameBlocks.h"
#include "platform/UniqueHandle.h"

namespace ferlane {

class TDirTree;
class TFileListView;

// A drop target of the same window reads the dragged view's rows itself.
class IFileDragTarget {
 public:
  virtual ~IFileDragTarget() = default;
  // Whether a drop of `source`'s rows on `target` (the window under the
  // pointer) would be accepted.
  virtual bool DragOver(TFileListView& source, HWND target, POINT screenPt) = 0;
  virtual void DragDrop(TFileListView& source, HWND target, POINT screenPt) = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// Raised on each click on a row with the row's full path.
using TSelItemChangeEvent = std::function<void(TFileListView& sender, const std::wstring& selectedItem)>;
using TNotifyEvent = std::function<void(TFileListView& sender)>;
using TKeyEvent = std::function<void(TFileListView& sender, WORD key)>;

class TFileListView {
 public:
  // ---- Window and rows (FileListView.cpp) ---------------------------------
  TFileListView();
  ~TFileListView();
  TFileListView(const TFileListView&) = delete;
  TFileListView& operator=(const TFileListView&) = delete;

  bool Create(HWND parent, int id, const RECT& rc);
  HWND hwnd() const;      // the widget's own window
  HWND ListHwnd() const;  // the list view control inside it
  // The widget owning hwnd (its own window or its list view), or nullptr.
  static TFileListView* FromHwnd(HWND hwnd);

  const std::wstring& Directory() const;
  void SetDirectory(const std::wstring& value);
  // Points the view at a folder that is not there (gone, or a file of that
  // name): it lists nothing, where SetDirectory would keep the rows of the
  // folder shown before, or the drive list.
  void ShowMissingFolder(const std::wstring& path);
  void UpdateFileList();
  TDirTree* DirTree() const;
  void SetDirTree(TDirTree* tree);

  // Rows, in display order, as hosts read them.
  int ItemCount() const;
  std::wstring Caption(int row) const;
  // Sub-items 0..6: size (drive type), type text (total size), modified (free
  // space), attribute letters, full path, kind tag "dir"/"file"/"drv", sort key.
  std::wstring SubItem(int row, int index) const;
  bool IsSelected(int row) const;
  void SetSelected(int row, bool selected);

  // The window that receives drags of this view's rows (DragMode automatic).
  void SetDragTarget(IFileDragTarget* target);

  // ---- Published properties (FileListView.cpp): setters act only on a change
  const std::wstring& Mask() const { return mask_; }
  void SetMask(const std::wstring& value);  // re-lists
  TFileAttrs FileType() const { return fileType_; }
  void SetFileType(TFileAttrs value);  // re-lists
  bool ShowFolders() const { return showFolders_; }
  void SetShowFolders(bool value);  // re-lists
  // The following apply at the next listing.
  bool HideFileExt() const { return hideFileExt_; }
  void SetHideFileExt(bool value) { hideFileExt_ = value; }
  bool ParentDirEnabled() const { return parentDirEnabled_; }
  void SetParentDirEnabled(bool value) { parentDirEnabled_ = value; }
  TFileSize FileSize() const { return fileSize_; }
  void SetFileSize(TFileSize value) { fileSize_ = value; }
  TDtFormat DateFormat() const { return dateFormat_; }
  void SetDateFormat(TDtFormat value);
  TTmFormat TimeFormat() const { return timeFormat_; }
  void SetTimeFormat(TTmFormat value);
  // Always one blank followed by the trimmed text.
  const std::wstring& ParentDirCaption() const { return parentDirCaption_; }
  void SetParentDirCaption(const std::wstring& value);
  // Folder-mode column widths, used at the next column rebuild.
  int ColWidth_Name() const { return colWidth_[0]; }
  void SetColWidth_Name(int value) { colWidth_[0] = value; }
  int ColWidth_Size() const { return colWidth_[1]; }
  void SetColWidth_Size(int value) { colWidth_[1] = value; }
  int ColWidth_Type() const { return colWidth_[2]; }
  void SetColWidth_Type(int value) { colWidth_[2] = value; }
  int ColWidth_Mod() const { return colWidth_[3]; }
  void SetColWidth_Mod(int value) { colWidth_[3] = value; }
  int ColWidth_Attr() const { return colWidth_[4]; }
  void SetColWidth_Attr(int value) { colWidth_[4] = value; }

  TLanguage Language() const { return language_; }
  void SetLanguage(TLanguage value);
  bool DblClickToOpen() const { return dblClickToOpen_; }
  void SetDblClickToOpen(bool value) { dblClickToOpen_ = value; }
  bool PopUpMenuEnabled() const { return popUpMenuEnabled_; }
  void SetPopUpMenuEnabled(bool value);
  // A host's own context menu; its commands go to commandWindow.
  void SetPopupMenu(HMENU menu, HWND commandWindow);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TViewStyle ViewStyle() const { return viewStyle_; }
  void SetViewStyle(TViewStyle value);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool value);
  const std::wstring& SelectedItem() const { return selectedItem_; }
  void SetSelectedItem(const std::wstring& value) { selectedItem_ = value; }
  // Selected rows, or all rows when none is selected.
  int SelectedNumber() const;
  // Bytes of the selected files (folders count 0), looked up by full path.
  std::int64_t SelectedSize() const;
  // Free KB of the shown folder's drive; 0 in the drive list.
  std::int64_t DriveFreeSpace() const;
  const std::wstring& About() const { return about_; }

  TSelItemChangeEvent OnItemChange;
  TNotifyEvent OnClick;     // after OnItemChange, on a click on a row
  TNotifyEvent OnDblClick;  // a double click the view does not handle itself
  TKeyEvent OnKeyDown;      // after the view's own key action

  // ---- Listing and order (FileListViewListing.cpp) -----------------------
  bool DriveMode() const;
  void SortByColumn(int column);
  int SortColumn() const { return sortColumn_; }
  bool Descending() const { return descending_; }

  // ---- Navigation, keys and rename (FileListViewNavigation.cpp) ----------
  void OpenItem();
  void OneLevelUp();
  void RenameSelected();
  void SelectAll();
  // The first selected row, or -1.
  int SelectedIndex() const;
  bool Editing() const { return editing_; }
  // The key handler of the view (what a key down in the list runs).
  void KeyDown(WORD key);

  // ---- File operations and context menu (FileListViewFileOps.cpp) -------
  void NewFolder();
  void DeleteSelected();
  // Remembers the selected rows for a later Paste: foCopy or foMove.
  void CutCopy(FileOpCode operation);
  void Paste();
  bool ClipboardFilled() const { return !clipboard_.empty(); }
  void ViewFile();
  void FindFile();
  // 0 any folder, 1 contents to the clipboard, 2 paths to the clipboard,
  // 3 shortcut on the desktop.
  void SendToSpecial(int number);
  // A Send To entry: a shortcut to a folder, a drive or a program, or a folder.
  void SendTo(const std::wstring& entry);
  void CopyToFolder(const std::wstring& folder);
  void CreateDesktopShortcut();
  void ShowProperties();
  // The "send to any folder" dialog; the folder typed or picked, or nothing.
  std::optional<std::wstring> AskSendToPath(const std::wstring& initial);
  // The view's own context menu, its items enabled as when it opens.
  HMENU OwnPopupMenu();
  // Full paths of the user's Send To shortcuts, as the menu holds them.
  const std::vector<std::wstring>& SendToEntries() const { return sendToEntries_; }
  // Runs a command of the view's own context menu.
  void RunMenuCommand(UINT id);

 private:
  // A listed entry. Texts are made when asked for, from these facts.
  enum class Kind : unsigned char { File, Dir };
  // One listed entry: 40 bytes, its name kept in names_.
  struct Row {
    const wchar_t* name = L"";    // entry name, NUL-terminated; ".." for the parent row
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;  // 100-ns intervals, UTC
    std::uint32_t attributes = 0;
    int icon = -1;             // system image index; -1 until asked of the shell
    std::uint32_t type = 0;    // index into types_
    std::uint16_t nameLength = 0;
    Kind kind = Kind::File;
    std::wstring_view Name() const { return {name, nameLength}; }
  };
  struct DriveRow {
    std::wstring caption, root, total, free;
    UINT driveType = 0;
    int icon = -1;
  };
  // The settings a listing was made with: later changes wait for the next one.
  struct Shown {
    bool hideExt = false;
    TFileSize fileSize = fsKB;
    std::wstring parentCaption;
    std::wstring timePattern;
    std::wstring folder;  // with its trailing backslash
  };
  struct ExtInfo;
  class Lister;

  // Window procedure and rows (FileListView.cpp); listing, order and images
  // (FileListViewListing.cpp); clicks, keys, rename and dragging
  // (FileListViewNavigation.cpp).
  template <class T>
  friend LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
  void Attach(HWND hwnd);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleNotify(NMHDR* hdr);
  void HandleGetDispInfo(NMLVDISPINFOW* info);
  int HandleFindItem(const NMLVFINDITEMW* find) const;
  bool HandleBeginLabelEdit(int row);
  void HandleEndLabelEdit(int row, const wchar_t* text);
  void AcceptRename();
  void HandleDblClick();
  void ItemClicked();

  void CreateImageLists();
  void BuildColumns(bool driveMode);
  // Widens the columns whose header would cut its caption in the list's font.
  void FitColumns();
  void SetSortImages();
  void ListFolder();
  void ListDrives();
  void SortRows();
  // The two ways of ordering order_: by the listed captions alone (false
  // when a name needs the general way), or by keys of any column.
  bool SortByCaption();
  void SortByKeys();
  bool IsParentRow(int row) const;
  const Row& RowAt(int row) const { return rows_[order_[static_cast<std::size_t>(row)]]; }
  std::wstring FullPath(int row) const;
  std::wstring KindTag(int row) const;
  std::wstring ModifiedText(const Row& r) const;
  int IconOf(int row);
  void ApplyStyle(DWORD bit, bool on);
  void EndDrag(bool drop, POINT screenPt);
  void DragMoved(POINT clientPt);
  void ShiftDelete();
  void F5Refresh();
  // Context menu (FileListViewFileOps.cpp).
  void ShowOwnPopupMenu(POINT screenPt);
  void BuildOwnPopupMenu();
  void AddSendToEntries(HMENU submenu);
  void EnableOwnMenuItems();
  bool ContextMenu(POINT screenPt);
  // Full paths of the selected rows in row order, each with a NUL; the parent row left out.
  std::vector<std::wstring> SelectedPathList() const;
  void CopyContentsToClipboard(const std::wstring& file);

  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HIMAGELIST largeImages_ = nullptr;  // the shell's, never freed
  HIMAGELIST smallImages_ = nullptr;
  int parentIcon_ = -1;
  UniqueHBitmap bmpUp_, bmpDown_;

  std::wstring directory_ = L"Drives";
  std::wstring mask_ = L"*.*";
  TFileAttrs fileType_ = FileAttrs({ftReadOnly, ftHidden, ftSystem, ftArchive});
  bool showFolders_ = true;
  bool hideFileExt_ = false;
  bool parentDirEnabled_ = true;
  std::wstring parentDirCaption_ = L" Parent";
  TDtFormat dateFormat_ = df_Customize;
  TTmFormat timeFormat_ = tfShortFormat;
  std::wstring datePattern_, timePattern_;
  TFileSize fileSize_ = fsKB;
  int colWidth_[5] = {165, 75, 95, 125, 40};
  TLanguage language_ = lnEnglish;
  TDirTree* tree_ = nullptr;
  bool dblClickToOpen_ = true;
  bool popUpMenuEnabled_ = true;
  UniqueHMenu ownMenu_;
  HMENU hostMenu_ = nullptr;
  HWND hostMenuTarget_ = nullptr;
  bool readOnly_ = false;
  TViewStyle viewStyle_ = vsReport;
  bool multiSelect_ = true;
  std::wstring selectedItem_;
  std::wstring about_ = L"Version 1.0";

  // The current listing.
  bool driveColumns_ = false;
  bool haveColumns_ = false;
  bool driveMode_ = false;
  bool sortable_ = true;
  int sortColumn_ = 0;
  bool descending_ = true;
  std::uint64_t listedBytes_ = 0;
  Shown shown_;
  std::vector<std::wstring> types_;
  std::vector<Row> rows_;
  NameBlocks names_;  // the rows' names
  std::vector<std::uint32_t> order_;  // display position -> rows_ index
  std::vector<DriveRow> drives_;
  std::unordered_map<std::uint32_t, std::wstring> editedCaptions_;  // by rows_ index

  // In-place rename.
  bool editing_ = false;
  std::wstring editOldPath_;
  std::wstring editNewText_;
  Kind editKind_ = Kind::File;
  bool editHideExt_ = false;

  // Dragging rows out.
  IFileDragTarget* dragTarget_ = nullptr;
  bool dragging_ = false;
  bool dragAccepted_ = false;

  // The clipboard list of the file operations: paths with a NUL each, and
  // what Paste does with them.
  std::vector<std::wstring> clipboard_;
  FileOpCode pendingOperation_ = foCopy;
  // The own context menu's pictures and Send To shortcuts.
  std::vector<UniqueHBitmap> menuBitmaps_;
  std::vector<std::wstring> sendToEntries_;
};

}  // namespace ferlane
