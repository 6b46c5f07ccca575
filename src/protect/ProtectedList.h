#pragma once
// The protected item list: the report list view ListView1 with the columns
// "Nom", "Type" and "Attribut", its list file, and the commands that hide,
// show, remove and select items. The main window owns the toolbar, menus and
// tab; it places this list in its group box and calls the handlers below.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Deadline.h"
#include "platform/EventTrail.h"
#include "protect/FileAttributes.h"
#include "protect/ListFile.h"
#include "protect/ListFileIo.h"
#include "protect/logic/CommandPace.h"
#include "protect/logic/HideShow.h"

namespace ferlane {

class CommandProgress;
class TFileListView;

// The rows of a file list view as the commands here read them.
class IFileRows {
 public:
  virtual ~IFileRows() = default;
  virtual int ItemCount() const = 0;
  virtual std::wstring Caption(int row) const = 0;
  // 1: the type text; 4: the full path; 5: the kind tag.
  virtual std::wstring SubItem(int row, int index) const = 0;
  virtual bool IsSelected(int row) const = 0;
  virtual void SetSelected(int row, bool selected) = 0;
  // The folder the rows are listed from, for a row that carries no full path.
  virtual std::wstring Folder() const = 0;
};

// The rows of a real TFileListView.
class FileListRows final : public IFileRows {
 public:
  explicit FileListRows(TFileListView& view) : view_(view) {}
  int ItemCount() const override;
  std::wstring Caption(int row) const override;
  std::wstring SubItem(int row, int index) const override;
  bool IsSelected(int row) const override;
  void SetSelected(int row, bool selected) override;
  std::wstring Folder() const override;

 private:
  TFileListView& view_;
};

class ProtectedList {
 public:
  ProtectedList() = default;
  ~ProtectedList();
  ProtectedList(const ProtectedList&) = delete;
  ProtectedList& operator=(const ProtectedList&) = delete;

  // Creates ListView1 as a child of parent (which receives its
  // notifications, LVN_ITEMCHANGED among them) and binds the system's small
  // icons, shared and never destroyed here.
  bool Create(HWND parent, int id, const RECT& rc = RECT{});
  HWND hwnd() const { return list_; }

  // Optional: runs once after each load, drop, command or removal that
  // changed the list, for hosts that do not watch LVN_ITEMCHANGED.
  std::function<void()> onChange;

  // Items, in list order.
  int ItemCount() const;
  std::wstring Caption(int item) const;
  std::wstring TypeText(int item) const;   // "Dossier" / "Fichier"
  std::wstring StateText(int item) const;  // "Caché" / "Visible"
  int ImageIndex(int item) const;
  // ListView1's questions, passed on by the parent: LVN_GETDISPINFO (the
  // texts and icon of a row it draws), LVN_ODFINDITEM (typing a name's
  // first letters) and LVN_DELETEALLITEMS. True when handled; result is what
  // the parent's window procedure returns for it.
  bool OnNotify(NMHDR* hdr, LRESULT* result = nullptr);
  bool IsSelected(int item) const;
  void SetSelected(int item, bool selected);
  // Appends an item; its icon and state word come from the file system.
  void AddItem(const std::wstring& path, ItemType type);

  // Appends the items of the list file; ERROR_SUCCESS when there is no file.
  // On an error the list is left as it was and the caller shows OpenErrorText.
  // First removes the temporary files of a save that was killed half-way,
  // unless `removeStale` is false (a start not yet let in writes nothing).
  // Any line shape is read (an empty line, a path without its type word,
  // remarks, which are kept before the row they precede), the spellings of
  // one path as one row, and nothing is asked of the disk; a file that
  // cannot be read whole (a NUL byte, an undecodable byte) or that holds
  // words no row takes loads what can be placed; LoadUnplaced() then tells
  // the caller what to say.
  DWORD LoadListFile(const std::wstring& fileName, bool removeStale = true);
  // What the list file held that no row shows.
  struct Unplaced {
    bool whole = true;                  // false: a NUL or an undecodable byte cut the file
    std::vector<std::wstring> strays;   // type words that follow no path
    std::vector<std::wstring> words;    // words after a path that are no type word
    bool Any() const { return !whole || !strays.empty() || !words.empty(); }
  };
  const Unplaced& LoadUnplaced() const { return unplaced_; }
  bool LoadedPartly() const { return unplaced_.Any(); }
  // Writes every item (path, type word) to the list file, merged with what
  // another writer put there since the list read or last wrote it: rows it
  // added are appended (MergedFromDisk), rows it removed go (RemovedOnDisk)
  // unless this list added them, rows this list removed stay removed, no
  // path twice. The file is replaced only if it is still the one merged
  // just before the rename; else it is merged again (kListKeepsChanging
  // after a few tries). Returns ERROR_SUCCESS or the error for
  // CreateErrorText. Shows nothing. A file that already holds exactly these
  // rows is left as it is, and so is a read-only one while neither it nor
  // the rows changed. A file deleted or emptied meanwhile is no edit: the
  // rows are written back (WrittenBack). A file whose load failed is never replaced
  // unread: it is read again first and its items are put back in front of
  // the list; while it still cannot be read, the read error is returned.
  // What a file held that could not be placed is first kept in a copy
  // (KeptCopy); while that copy cannot be made, the file is not replaced.
  DWORD SaveListFile(const std::wstring& fileName, const ListSaveStop& stopAfter = {});
  std::size_t MergedFromDisk() const { return mergedFromDisk_; }
  // Rows the last save wrote as one because they spelled one path
  // ("C:\a" and "c:/A\"): the first kept its place and type word.
  std::size_t JoinedRows() const { return joinedRows_; }
  std::size_t RemovedOnDisk() const { return removedOnDisk_; }
  // The rows written back to a file found deleted (ListWasMissing) or
  // emptied at the last save.
  std::size_t WrittenBack() const { return writtenBack_; }
  bool ListWasMissing() const { return listWasMissing_; }
  // The copy the last save made of what the file held that could not be
  // placed; empty when none was made. DiskUnplaced: what that was, when the
  // file as another writer left it held it.
  const std::wstring& KeptCopy() const { return keptCopy_; }
  const Unplaced& DiskUnplaced() const { return diskUnplaced_; }
  // Why the last file written could not be given the private rights;
  // ERROR_SUCCESS when it was, or nothing was written.
  DWORD RightsError() const { return rightsError_; }
  // What a load or a save says of a file that held what no row shows;
  // copy: the copy made, empty when it is yet to be made.
  static std::wstring UnplacedText(const std::wstring& fileName, const Unplaced& unplaced,
                                   const std::wstring& copy = {});
  // "Impossible d'ouvrir le fichier "<name>". <reason>" and
  // "Impossible de créer le fichier "<name>". <reason>".
  static std::wstring OpenErrorText(const std::wstring& fileName, DWORD error);
  static std::wstring CreateErrorText(const std::wstring& fileName, DWORD error);

  // Hide and show. A long command keeps the window answering and shows its
  // progress (CommandProgress); Esc or "Arrêter" stops it between two items.
  void SpeedButton1Click();             // show all
  void SpeedButton2Click();             // hide all
  void CacherouVoirlaslection1Click();  // toggle the selection
  // "Actualiser" (F5): reads every row's state afresh from the file system,
  // paced and stoppable as the commands above, writing nothing.
  void Actualiser1Click();
  // A hide or show command is running (the window answers meanwhile): the
  // commands that change the list do nothing until it ends.
  bool Busy() const { return running_ != nullptr; }
  // Stops a running command before its next item, for the window's close
  // or the session's end: nothing is said of how far it went.
  void StopCommand();
  // How soon a command shows its progress and how often the window answers.
  void SetPace(PaceSettings pace) { pace_ = pace; }
  // The file system the commands act on; nullptr: the real one. Not owned.
  void SetFileSystem(IFileAttributes* files) { files_ = files; }
  // Where each hide or show command writes its one event, naming listFile;
  // nullptr: none. Not owned.
  void SetEventTrail(IEventTrail* trail, std::wstring listFile) {
    trail_ = trail;
    eventListFile_ = std::move(listFile);
  }
  // Removal (the files keep their attributes) and selection.
  void Supprimer2Click();  // the selected items
  void Supprimer1Click();  // every item
  void outSelectionner2Click();

  // Selection commands on the file list the items are dragged from.
  static void outSelectionner1Click(IFileRows& rows);  // every entry
  static void ouslesRpertoires1Click(IFileRows& rows);  // add the folders
  static void ouslesFichiers1Click(IFileRows& rows);    // add the files
  static void outSelectionner1Click(TFileListView& view);
  static void ouslesRpertoires1Click(TFileListView& view);
  static void ouslesFichiers1Click(TFileListView& view);

  // Dragging onto the list: accepted exactly when the dragged source is a
  // file list view (by widget, or by any window of one).
  static bool ListView1DragOver(const TFileListView* source) { return source != nullptr; }
  static bool ListView1DragOver(HWND source);
  // A drop onto the list (the caller checked the target): appends the
  // selected entries of fileListView1, whichever file list view the drag
  // began in, when there is a source.
  void ListView1DragDrop(const TFileListView* source, TFileListView& fileListView1);
  // The drop itself: one item per selected row, in row order, each row then
  // deselected. Returns the number of items added.
  int AppendSelectedEntries(IFileRows& rows);

 private:
  class Batch;
  // One row of the list. ListView1 holds no texts of its own (it asks for
  // them as it draws), so a long list loads and saves without passing every
  // item through the control; the control keeps only the selection.
  struct Row {
    // The path, kept in pool_: one block for the whole list, so a long list
    // is neither allocated nor freed path by path.
    std::size_t at = 0, length = 0;
    ItemType type = ItemType::File;
    ItemState state = ItemState::Visible;
    // A loaded row's state word is read from the file system when it is
    // first shown or asked for, not for every row of a long list at start.
    bool stateRead = false;
    int icon = -1;  // -1: not asked yet
    // Dropped since the list file was last read or written: kept at the
    // save's merge even where another writer removed the path.
    bool addedHere = false;
    // An Unknown type was asked of the file system (it is asked once).
    bool typeAsked = false;
    // The remarks of the list file that stand before the row, in pool_
    // too (CR LF between lines); length 0: none.
    std::size_t remarksAt = 0, remarksLength = 0;
  };
  class SaveRows;
  bool Alive() const;
  std::wstring_view PathOf(const Row& row) const { return std::wstring_view(pool_).substr(row.at, row.length); }
  std::wstring_view RemarksOf(const Row& row) const {
    return row.remarksLength ? std::wstring_view(pool_).substr(row.remarksAt, row.remarksLength) : std::wstring_view();
  }
  Row NewRow(std::wstring_view path, ItemType type);
  // Keeps only the paths of the rows left, once rows went.
  void CompactPool();
  ItemState RowState(int item) const;
  // The type of a row read without a type word is taken from the attribute
  // word the first time the row is drawn, read or acted on.
  ItemType RowType(int item) const;
  void LearnType(Row& row, std::uint32_t attributes) const;
  std::vector<int> SelectedItems() const;
  // Tells ListView1 how many rows there are now; the selection stays.
  void SyncCount();
  // Runs a hide or show command over the items, shows the state words the
  // file system then holds and names the refused paths in one message.
  void RunCommand(ListCommand command);
  // The command's one event, once it has ended (stopped or not).
  // wasAsked: the rows shown as the command asks before it ran.
  void RecordCommand(ListCommand command, const std::vector<ProtectedItem>& items, const std::vector<bool>& wasAsked,
                     const ListCommandResult& result) const;
  // Rows were added, removed or moved: a running command's item numbers no
  // longer name the same rows.
  void Reshaped() { ++layout_; }
  // Puts rows in front of the list (the stored items of a late read); the
  // selected rows stay selected.
  void InsertInFront(std::vector<Row> front);
  // The rows of a list file's content; its text joins the pool. The
  // remarks after its last record go to *after (when given).
  std::vector<Row> RowsFromContent(ListContent&& content, std::wstring* after = nullptr);
  void NoteUnplaced(const ListContent& content);
  // Removes the later rows of a path listed more than once (dropped again,
  // in any spelling); how many went.
  std::size_t JoinRepeatedRows();
  // The rows as a save merged them with the disk's.
  void ApplyMerge(const MergeResult& merge, ListContent&& disk);
  // The first row from start whose caption is text, or begins with it.
  int FindCaption(const std::wstring& text, int start, bool partial, bool wrap) const;

  HWND list_ = nullptr;
  int batchDepth_ = 0;
  CommandProgress* running_ = nullptr;
  bool stoppedByHost_ = false;  // StopCommand, not the user, stopped the command
  std::uint64_t layout_ = 0;
  PaceSettings pace_;
  IFileAttributes* files_ = nullptr;
  IEventTrail* trail_ = nullptr;
  std::wstring eventListFile_;
  // mutable: reading a state word or an icon for the first time keeps it.
  mutable std::vector<Row> rows_;
  // The state words read as rows are first drawn: one pass until the next
  // command, so a server that does not answer is waited for once.
  mutable ServerReach statePass_{kWindowLookupMs};
  std::wstring pool_;
  // The remarks of the list file after its last row: they stay at its end.
  std::wstring remarksAfterLast_;
  // The list file whose load failed, until it has been read.
  std::wstring unreadFile_;
  // The list file on disk: its base and its merge.
  ListFile file_;
  // The rows differ from the list file's as last read or written (not
  // their state words, which the file does not hold).
  bool changed_ = false;
  // A row's unknown type was learnt: the file gets its type word.
  mutable bool typesLearnt_ = false;
  // Path lines the load joined to an earlier spelling of their path.
  std::size_t joinedAtLoad_ = 0, joinedRows_ = 0;
  Unplaced unplaced_, diskUnplaced_;
  std::wstring keptCopy_;
  std::size_t mergedFromDisk_ = 0, removedOnDisk_ = 0, writtenBack_ = 0;
  bool listWasMissing_ = false;
  DWORD rightsError_ = ERROR_SUCCESS;
};

// "Les attributs de ces éléments n'ont pas pu être changés :" then one line
// per path with the system's reason.
std::wstring AttributeFailureText(const AttributeFailures& failures);

// The system small-icon index of an item's path, looked up as its type asks.
int ItemIconIndex(const std::wstring& path, ItemType type);

}  // namespace ferlane
