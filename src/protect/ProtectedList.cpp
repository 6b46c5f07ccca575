#include "protect/ProtectedList.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <unordered_map>

#include "platform/Controls.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/ScreenDpi.h"
#include "platform/WaitCursor.h"
#include "browse/TreeSizeProgress.h"
#include "protect/CommandProgress.h"
#include "protect/ListFileIo.h"
#include "protect/logic/DropRules.h"
#include "protect/logic/ExactPath.h"
#include "protect/logic/ListFile.h"
#include "platform/logic/PathFold.h"

namespace ferlane {
namespace {

// Marks ListView1 as this object's, so a handle reused after the window
// went away is never taken for it.
constexpr wchar_t kOwnerProp[] = L"FerlaneProtectedList";

// Copies text into a buffer the list view gave, cut to its size.
void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
  if (!buffer || size <= 0) return;
  const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size - 1));
  text.copy(buffer, n);
  buffer[n] = L'\0';
}

void SetItemSelected(HWND list, int item, bool selected) {
  LVITEMW lvi{};
  lvi.stateMask = LVIS_SELECTED;
  lvi.state = selected ? LVIS_SELECTED : 0;
  ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi));
}

}  // namespace

// Groups many item changes: no repainting meanwhile, and one call of
// onChange at the end instead of one per item.
class ProtectedList::Batch {
 public:
  explicit Batch(ProtectedList& owner) : owner_(owner) {
    if (owner_.batchDepth_++ == 0) ::SendMessageW(owner_.list_, WM_SETREDRAW, FALSE, 0);
  }
  ~Batch() {
    if (--owner_.batchDepth_ == 0) {
      ::SendMessageW(owner_.list_, WM_SETREDRAW, TRUE, 0);
      ::InvalidateRect(owner_.list_, nullptr, TRUE);
      if (owner_.onChange) owner_.onChange();
    }
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

 private:
  ProtectedList& owner_;
};

namespace {

std::wstring TrimmedReason(std::uint32_t error) {
  std::wstring reason = SystemErrorText(error);
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
    reason.pop_back();
  return reason;
}

}  // namespace

std::wstring AttributeFailureText(const AttributeFailures& failures) {
  // A long list of refusals (a whole read-only volume) is cut, not endless.
  constexpr std::size_t kShown = 15;
  std::wstring text = L"Les attributs de ces \u00E9l\u00E9ments n'ont pas pu \u00EAtre chang\u00E9s :";
  for (std::size_t i = 0; i < failures.size() && i < kShown; ++i)
    text += L"\r\n" + failures[i].path + L" : " + TrimmedReason(failures[i].error);
  if (failures.size() > kShown)
    text += L"\r\n(et " + std::to_wstring(failures.size() - kShown) + L" autres)";
  return text;
}

int ItemIconIndex(const std::wstring& path, ItemType type) {
  SHFILEINFOW sfi{};
  if (type == ItemType::Folder) {
    if (::SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX)) return sfi.iIcon;
    // A folder that is gone or out of reach still shows as a folder.
    sfi = SHFILEINFOW{};
    if (::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof sfi,
                         SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES))
      return sfi.iIcon;
    return 0;
  }
  if (::SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof sfi,
                       SHGFI_SYSICONINDEX | SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES))
    return sfi.iIcon;
  return 0;
}

ProtectedList::~ProtectedList() {
  if (Alive()) {
    ::RemovePropW(list_, kOwnerProp);
    ::DestroyWindow(list_);
  }
}

bool ProtectedList::Alive() const {
  return list_ && ::IsWindow(list_) && ::GetPropW(list_, kOwnerProp) == this;
}

bool ProtectedList::Create(HWND parent, int id, const RECT& rc) {
  if (Alive()) return false;
  // Several items selectable, labels not editable, the system's image list
  // shared; the rows are this object's (owner data).
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS | LVS_OWNERDATA;
  list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, rc.left, rc.top,
                            rc.right - rc.left, rc.bottom - rc.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
  if (!list_) return false;
  ::SetPropW(list_, kOwnerProp, this);
  struct Column {
    const wchar_t* caption;
    int width;
  };
  const Column columns[] = {{L"Nom", 250}, {L"Type", 60}, {L"Attribut", 50}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<wchar_t*>(columns[i].caption);
    col.cx = ScreenDpi().Px(columns[i].width);
    col.iSubItem = i;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
    FitColumnToCaption(list_, i, columns[i].caption);
  }
  SHFILEINFOW sfi{};
  auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  return true;
}

int ProtectedList::ItemCount() const { return list_ ? static_cast<int>(rows_.size()) : 0; }

std::wstring ProtectedList::Caption(int item) const {
  if (item < 0 || item >= ItemCount()) return {};
  return std::wstring(PathOf(rows_[static_cast<std::size_t>(item)]));
}

std::wstring ProtectedList::TypeText(int item) const {
  if (item < 0 || item >= ItemCount()) return {};
  return TypeWord(RowType(item));
}

ProtectedList::Row ProtectedList::NewRow(std::wstring_view path, ItemType type) {
  Row row;
  row.at = pool_.size();
  row.length = path.size();
  row.type = type;
  pool_ += path;
  return row;
}

void ProtectedList::CompactPool() {
  std::wstring kept;
  std::size_t size = 0;
  for (const Row& row : rows_) size += row.length + row.remarksLength;
  kept.reserve(size);
  for (Row& row : rows_) {
    const std::size_t at = kept.size();
    kept += PathOf(row);
    const std::size_t remarksAt = kept.size();
    kept += RemarksOf(row);
    row.at = at;
    row.remarksAt = remarksAt;
  }
  pool_ = std::move(kept);
}

ItemState ProtectedList::RowState(int item) const {
  Row& row = rows_[static_cast<std::size_t>(item)];
  if (!row.stateRead) {
    const std::uint32_t attributes = ListedPathAttributes(std::wstring(PathOf(row)), statePass_);
    row.state = StateFromAttributes(attributes);
    row.stateRead = true;
    if (row.type == ItemType::Unknown) LearnType(row, attributes);
  }
  return row.state;
}

void ProtectedList::LearnType(Row& row, std::uint32_t attributes) const {
  row.typeAsked = true;
  const ItemType type = TypeFromAttributes(attributes);
  if (type == ItemType::Unknown) return;  // missing or out of reach: stays without a type word
  row.type = type;
  row.icon = -1;
  typesLearnt_ = true;
}

ItemType ProtectedList::RowType(int item) const {
  Row& row = rows_[static_cast<std::size_t>(item)];
  if (row.type == ItemType::Unknown && !row.typeAsked) {
    // One look-up gives the state word and the type.
    if (!row.stateRead) RowState(item);
    else LearnType(row, ListedPathAttributes(std::wstring(PathOf(row)), statePass_));
  }
  return row.type;
}

std::wstring ProtectedList::StateText(int item) const {
  if (item < 0 || item >= ItemCount()) return {};
  return StateWord(RowState(item));
}

int ProtectedList::ImageIndex(int item) const {
  if (item < 0 || item >= ItemCount()) return -1;
  // The shell's look-up is the slow part of a long list: asked once per row,
  // when it is first drawn or asked for.
  const ItemType type = RowType(item);
  Row& row = rows_[static_cast<std::size_t>(item)];
  // Blanks and quotes around a listed name are not part of its extension.
  if (row.icon < 0) row.icon = ItemIconIndex(std::wstring(TrimListedName(PathOf(row))), type);
  return row.icon;
}

bool ProtectedList::IsSelected(int item) const {
  return (::SendMessageW(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ProtectedList::SetSelected(int item, bool selected) { SetItemSelected(list_, item, selected); }

std::vector<int> ProtectedList::SelectedItems() const {
  std::vector<int> items;
  if (!list_) return items;
  for (int i = -1; (i = static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(i),
                                                          MAKELPARAM(LVNI_SELECTED, 0)))) >= 0;) {
    if (i >= ItemCount() || (!items.empty() && i <= items.back())) break;  // never loop for ever
    items.push_back(i);
  }
  return items;
}

void ProtectedList::SyncCount() {
  ::SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

bool ProtectedList::OnNotify(NMHDR* hdr, LRESULT* result) {
  if (result) *result = 0;
  if (!hdr || !list_ || hdr->hwndFrom != list_) return false;
  if (hdr->code == LVN_GETDISPINFOW) {
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
    if (item.iItem < 0 || item.iItem >= ItemCount()) return true;
    if (item.mask & LVIF_TEXT) {
      switch (item.iSubItem) {
        case 0: CopyText(Caption(item.iItem), item.pszText, item.cchTextMax); break;
        case 1: CopyText(TypeText(item.iItem), item.pszText, item.cchTextMax); break;
        case 2: CopyText(StateText(item.iItem), item.pszText, item.cchTextMax); break;
        default: CopyText(L"", item.pszText, item.cchTextMax); break;
      }
    }
    if (item.mask & LVIF_IMAGE) item.iImage = ImageIndex(item.iItem);
    return true;
  }
  if (hdr->code == LVN_DELETEALLITEMS) {
    // The rows are this object's: no notification per row is wanted.
    if (result) *result = TRUE;
    return true;
  }
  if (hdr->code == LVN_ODFINDITEMW) {
    auto* find = reinterpret_cast<NMLVFINDITEMW*>(hdr);
    LRESULT found = -1;
    if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) && find->lvfi.psz)
      found = FindCaption(find->lvfi.psz, find->iStart, (find->lvfi.flags & LVFI_PARTIAL) != 0,
                          (find->lvfi.flags & LVFI_WRAP) != 0);
    if (result) *result = found;
    return true;
  }
  return false;
}

int ProtectedList::FindCaption(const std::wstring& text, int start, bool partial, bool wrap) const {
  const int count = ItemCount();
  if (count == 0 || text.empty()) return -1;
  if (start < 0 || start >= count) start = 0;
  const int length = static_cast<int>(text.size());
  for (int k = 0; k < count; ++k) {
    int i = start + k;
    if (i >= count) {
      if (!wrap) break;
      i -= count;
    }
    const std::wstring_view path = PathOf(rows_[static_cast<std::size_t>(i)]);
    if (partial && static_cast<int>(path.size()) < length) continue;
    const int compared = partial ? length : static_cast<int>(path.size());
    if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, path.data(), compared, text.c_str(), length) ==
        CSTR_EQUAL)
      return i;
  }
  return -1;
}

void ProtectedList::AddItem(const std::wstring& path, ItemType type) {
  if (!list_ || running_) return;
  Reshaped();
  Batch batch(*this);
  changed_ = true;
  Row row = NewRow(path, type);
  row.addedHere = true;
  // A dropped item says at once what it is.
  row.state = StateFromAttributes(ListedPathAttributes(path, statePass_));
  row.stateRead = true;
  rows_.push_back(std::move(row));
  SyncCount();
}

std::vector<ProtectedList::Row> ProtectedList::RowsFromContent(ListContent&& content, std::wstring* after) {
  // The text itself becomes (part of) the pool: the rows point at their
  // path lines in it, and no line is copied.
  const std::size_t base = pool_.size();
  if (pool_.empty()) pool_ = std::move(content.text);
  else pool_ += content.text;
  std::vector<Row> rows;
  rows.reserve(content.records.size());
  for (const ListRecordAt& record : content.records) {
    Row row;
    row.at = base + content.lines[record.line].at;
    row.length = content.lines[record.line].length;
    row.type = record.type;
    rows.push_back(row);
  }
  // The few remarks join the pool behind the text.
  for (const ListContent::Remarks& run : content.remarks) {
    if (run.record == rows.size()) {
      if (after) *after = run.text + (after->empty() ? L"" : L"\r\n") + *after;
      continue;
    }
    rows[run.record].remarksAt = pool_.size();
    rows[run.record].remarksLength = run.text.size();
    pool_ += run.text;
  }
  return rows;
}

void ProtectedList::NoteUnplaced(const ListContent& content) {
  unplaced_.whole = unplaced_.whole && content.whole;
  unplaced_.strays.insert(unplaced_.strays.end(), content.strays.begin(), content.strays.end());
  unplaced_.words.insert(unplaced_.words.end(), content.words.begin(), content.words.end());
  joinedAtLoad_ += content.joined;
}

DWORD ProtectedList::LoadListFile(const std::wstring& fileName, bool removeStale) {
  if (!Alive()) return ERROR_INVALID_WINDOW_HANDLE;
  if (running_) return ERROR_BUSY;
  // A save killed half-way leaves its temporary file; it is of no use now.
  if (removeStale) RemoveStaleListTempFiles(fileName);
  ListContent content;
  DWORD error = file_.Read(fileName, content);
  if (error != ERROR_SUCCESS) {
    unreadFile_ = fileName;
    return error;
  }
  const bool wasEmpty = rows_.empty();
  unplaced_ = {};
  joinedAtLoad_ = 0;
  NoteUnplaced(content);
  std::vector<Row> loaded = RowsFromContent(std::move(content), &remarksAfterLast_);
  // Rows already there (a test's, or none) were not in the file. A file in
  // another form holds the same rows: the save tells the two apart.
  changed_ = !wasEmpty;
  if (loaded.empty()) return ERROR_SUCCESS;
  Batch batch(*this);
  Reshaped();
  if (rows_.empty()) {
    rows_ = std::move(loaded);
  } else {
    rows_.insert(rows_.end(), std::make_move_iterator(loaded.begin()), std::make_move_iterator(loaded.end()));
  }
  SyncCount();
  return ERROR_SUCCESS;
}

void ProtectedList::InsertInFront(std::vector<Row> front) {
  if (front.empty()) return;
  Reshaped();
  changed_ = true;
  const std::vector<int> selected = SelectedItems();
  const int shift = static_cast<int>(front.size());
  front.insert(front.end(), std::make_move_iterator(rows_.begin()), std::make_move_iterator(rows_.end()));
  rows_ = std::move(front);
  SyncCount();
  SetItemSelected(list_, -1, false);
  for (int i : selected) SetItemSelected(list_, i + shift, true);
}

// The rows as the list file reads them to save.
class ProtectedList::SaveRows final : public IListRows {
 public:
  explicit SaveRows(const ProtectedList& list) : list_(list) {}
  std::size_t Count() const override { return list_.rows_.size(); }
  std::wstring_view Path(std::size_t row) const override { return list_.PathOf(list_.rows_[row]); }
  ItemType Type(std::size_t row) const override { return list_.rows_[row].type; }
  bool AddedHere(std::size_t row) const override { return list_.rows_[row].addedHere; }
  std::wstring_view RemarksBefore(std::size_t row) const override { return list_.RemarksOf(list_.rows_[row]); }
  std::wstring_view RemarksAfterLast() const override {
    return list_.remarksAfterLast_.empty() ? std::wstring_view() : std::wstring_view(list_.remarksAfterLast_);
  }

 private:
  const ProtectedList& list_;
};

DWORD ProtectedList::SaveListFile(const std::wstring& fileName, const ListSaveStop& stopAfter) {
  // Without the list view there is nothing trustworthy to write: an empty
  // file here would wipe the stored list.
  if (!Alive()) return ERROR_INVALID_WINDOW_HANDLE;
  mergedFromDisk_ = removedOnDisk_ = writtenBack_ = joinedRows_ = 0;
  listWasMissing_ = false;
  keptCopy_.clear();
  diskUnplaced_ = {};
  rightsError_ = ERROR_SUCCESS;
  if (!unreadFile_.empty() && SamePathText(unreadFile_, fileName)) {
    // The load failed, so the list lacks the stored items: fetch them now,
    // in front as a successful load would have put them.
    ListContent stored;
    if (const DWORD error = file_.Read(fileName, stored); error != ERROR_SUCCESS) return error;
    unreadFile_.clear();
    NoteUnplaced(stored);
    Batch batch(*this);
    InsertInFront(RowsFromContent(std::move(stored), &remarksAfterLast_));
  }
  // A path dropped again, in any spelling, is saved once (loaded rows are
  // one per path already, so only a changed list needs the pass).
  const std::size_t joinedHere = changed_ ? JoinRepeatedRows() : 0;
  ListFile::Saved saved = file_.Save(fileName, SaveRows(*this), changed_ || typesLearnt_, stopAfter);
  rightsError_ = saved.rightsError;
  keptCopy_ = saved.copy;
  if (saved.disk.Unplaced()) {
    diskUnplaced_.whole = saved.disk.whole;
    diskUnplaced_.strays = saved.disk.strays;
    diskUnplaced_.words = saved.disk.words;
  }
  if (saved.error != ERROR_SUCCESS || !saved.written) return saved.error;
  writtenBack_ = saved.merge.writtenBack;
  listWasMissing_ = saved.missing;
  joinedRows_ = joinedAtLoad_ + joinedHere + saved.disk.joined;
  ApplyMerge(saved.merge, std::move(saved.disk));
  changed_ = typesLearnt_ = false;
  unplaced_ = {};
  joinedAtLoad_ = 0;
  return ERROR_SUCCESS;
}

std::size_t ProtectedList::JoinRepeatedRows() {
  std::unordered_map<std::uint64_t, std::size_t> first;
  first.reserve(rows_.size());
  std::vector<std::size_t> repeats;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    const auto [at, fresh] = first.emplace(ListPathKey(PathOf(rows_[i])), i);
    if (fresh) continue;
    repeats.push_back(i);
    // The first keeps its place and its type word; it takes the repeat's
    // when it has none.
    Row& kept = rows_[at->second];
    if (kept.type == ItemType::Unknown && rows_[i].type != ItemType::Unknown) kept.type = rows_[i].type;
  }
  if (repeats.empty()) return 0;
  // The repeats go as a removal of them would take them, remarks kept.
  const std::vector<int> selected = SelectedItems();
  SetItemSelected(list_, -1, false);
  for (std::size_t i : repeats) SetItemSelected(list_, static_cast<int>(i), true);
  Supprimer2Click();
  // The rows selected before stay selected where they still are.
  std::size_t gone = 0;
  for (int i : selected) {
    while (gone < repeats.size() && repeats[gone] < static_cast<std::size_t>(i)) ++gone;
    if (gone < repeats.size() && repeats[gone] == static_cast<std::size_t>(i)) continue;
    SetItemSelected(list_, i - static_cast<int>(gone), true);
  }
  return repeats.size();
}

void ProtectedList::ApplyMerge(const MergeResult& merge, ListContent&& disk) {
  for (Row& row : rows_) row.addedHere = false;
  bool same = merge.rows.size() == rows_.size();
  for (std::size_t k = 0; same && k < merge.rows.size(); ++k)
    same = !merge.rows[k].fromDisk && merge.rows[k].index == k && merge.rows[k].type == rows_[k].type;
  if (same) return;
  mergedFromDisk_ = merge.addedOnDisk;
  removedOnDisk_ = merge.removedOnDisk;
  // The disk's rows join the pool; the selection follows the rows it was on.
  std::vector<Row> fromDisk = RowsFromContent(std::move(disk));
  const std::vector<int> selected = SelectedItems();
  std::vector<bool> wasSelected(rows_.size(), false);
  for (int i : selected) wasSelected[static_cast<std::size_t>(i)] = true;
  std::vector<Row> merged;
  merged.reserve(merge.rows.size());
  std::vector<int> keep;
  for (const MergePick& pick : merge.rows) {
    Row row = pick.fromDisk ? fromDisk[pick.index] : rows_[pick.index];
    if (row.type != pick.type) {
      row.type = pick.type;
      row.icon = -1;
    }
    if (!pick.fromDisk && wasSelected[pick.index]) keep.push_back(static_cast<int>(merged.size()));
    merged.push_back(row);
  }
  Batch batch(*this);
  Reshaped();
  rows_ = std::move(merged);
  CompactPool();
  SyncCount();
  SetItemSelected(list_, -1, false);
  for (int i : keep) SetItemSelected(list_, i, true);
}


std::wstring ProtectedList::UnplacedText(const std::wstring& fileName, const Unplaced& unplaced,
                                        const std::wstring& copy) {
  std::wstring text;
  if (!unplaced.whole)
    text = L"Le fichier \"" + fileName +
           L"\" n'a pas pu \u00EAtre lu en entier (octet nul ou caract\u00E8re illisible).";
  auto name = [&](const std::vector<std::wstring>& lines, const std::wstring& what) {
    if (lines.empty()) return;
    if (!text.empty()) text += L"\r\n";
    text += L"Ces lignes du fichier \"" + fileName + L"\" " + what;
    constexpr std::size_t kShown = 10;
    for (std::size_t i = 0; i < lines.size() && i < kShown; ++i) text += L"\r\n    \"" + lines[i] + L"\"";
    if (lines.size() > kShown) text += L"\r\n    (et " + std::to_wstring(lines.size() - kShown) + L" autres)";
  };
  name(unplaced.strays, L"ne suivent aucun chemin : elles n'ont pas pu \u00EAtre plac\u00E9es dans la liste :");
  name(unplaced.words, L"suivent un chemin mais ne sont pas un type (Dossier, Fichier) : le chemin est charg\u00E9 "
                       L"sans type, qu'il prend du disque quand il est lu :");
  if (copy.empty())
    return text + L"\r\nLes \u00E9l\u00E9ments lisibles sont charg\u00E9s ; le contenu d'origine sera gard\u00E9 "
                  L"dans \"" + ListBackupName(fileName, 1) + L"\" (ou le premier nom libre \".bak2\", \".bak3\"...) "
                  L"avant que la liste ne soit enregistr\u00E9e.";
  return text + L"\r\nLe contenu d'origine est gard\u00E9 dans \"" + copy + L"\".";
}

std::wstring ProtectedList::OpenErrorText(const std::wstring& fileName, DWORD error) {
  return OpenListFileErrorText(fileName, error);
}

std::wstring ProtectedList::CreateErrorText(const std::wstring& fileName, DWORD error) {
  return CreateListFileErrorText(fileName, error);
}

namespace {

// The file system of a command, keeping the last attribute word it read of
// each wanted path: a row without a type word takes its type from the
// command's own reads, with no look-up of its own.
class TypeReads final : public IFileAttributes {
 public:
  explicit TypeReads(IFileAttributes& inner) : inner_(inner) {}
  std::uint32_t Get(const std::wstring& path) override {
    const std::uint32_t attributes = inner_.Get(path);
    if (const auto it = wanted.find(path); it != wanted.end()) it->second = attributes;
    return attributes;
  }
  std::uint32_t Set(const std::wstring& path, std::uint32_t attributes) override {
    return inner_.Set(path, attributes);
  }
  std::unordered_map<std::wstring, std::uint32_t> wanted;

 private:
  IFileAttributes& inner_;
};

}  // namespace

void ProtectedList::RunCommand(ListCommand command) {
  if (ItemCount() == 0 || running_) return;
  std::vector<ProtectedItem> items(rows_.size());
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    items[i].path = PathOf(rows_[i]);
    items[i].type = rows_[i].type;
  }
  if (command == ListCommand::ToggleSelected)
    for (int i : SelectedItems()) items[static_cast<std::size_t>(i)].selected = true;
  // The rows already shown as asked: the event counts them apart from those done.
  std::vector<bool> wasAsked(rows_.size());
  const ItemState asked = command == ListCommand::HideAll ? ItemState::Hidden : ItemState::Visible;
  for (std::size_t i = 0; i < rows_.size(); ++i) wasAsked[i] = rows_[i].stateRead && rows_[i].state == asked;
  Win32FileAttributes real;
  TypeReads fs(files_ ? *files_ : real);
  for (const Row& row : rows_)
    if (row.type == ItemType::Unknown) fs.wanted.emplace(PathOf(row), kInvalidFileAttributes);
  const std::uint64_t layout = layout_;
  ListCommandResult result;
  stoppedByHost_ = false;
  bool quitTaken = false;
  {
    WaitCursor wait;
    CommandProgress progress(::GetAncestor(list_, GA_ROOT), list_, command, pace_,
                             [this, layout](std::size_t item, ItemState state) {
                               // Each row says what was done to it as soon as it is done.
                               if (layout_ != layout || item >= rows_.size()) return;
                               rows_[item].state = state;
                               rows_[item].stateRead = true;
                             });
    struct Running {
      CommandProgress*& slot;
      ~Running() { slot = nullptr; }
    } running{running_ = &progress};
    result = RunListCommand(command, fs, items, &progress, &FoldPath);
    quitTaken = progress.QuitTaken();
  }
  // The rows read after the command are a pass of their own: a server may
  // answer again.
  statePass_ = ServerReach(kWindowLookupMs);
  {
    Batch batch(*this);
    // The rows done show what the file system holds at the end; the others
    // were not touched. Rows moved meanwhile read their state afresh.
    if (layout_ != layout) {
      for (Row& row : rows_) row.stateRead = row.typeAsked = false;
    } else {
      for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].done) {
          rows_[i].state = items[i].state;
          rows_[i].stateRead = true;
          // An item without a type word takes it from the command's last read.
          if (rows_[i].type == ItemType::Unknown) LearnType(rows_[i], fs.wanted[items[i].path]);
        }
    }
  }
  RecordCommand(command, items, wasAsked, result);
  // One message after the loop, so a read-only volume does not ask once per
  // item. A command the user stopped says how far it went; one stopped for
  // the window's close or the session's end says nothing more.
  std::wstring text;
  if (!result.failures.empty()) text = AttributeFailureText(result.failures);
  if (result.Stopped() && !stoppedByHost_ && !quitTaken) {
    if (!text.empty()) text += L"\r\n\r\n";
    text += StoppedText(result.done, result.total, LocaleNumberFormat().thousandSeparator);
  }
  if (!text.empty())
    ShowMessage(::GetParent(list_), text, MB_OK | (result.failures.empty() ? MB_ICONINFORMATION : MB_ICONERROR));
}

void ProtectedList::RecordCommand(ListCommand command, const std::vector<ProtectedItem>& items,
                                  const std::vector<bool>& wasAsked, const ListCommandResult& result) const {
  if (!trail_ || command == ListCommand::Refresh || result.done == 0) return;
  // The reasons only: the log is every user's to read, the items are not.
  std::vector<std::wstring> reasons;
  for (const AttributeFailure& f : result.failures) reasons.push_back(TrimmedReason(f.error));
  // An item that is gone was not changed either, as the command line counts it.
  std::size_t already = 0;
  const ItemState asked = command == ListCommand::HideAll ? ItemState::Hidden : ItemState::Visible;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!items[i].done) continue;
    if (items[i].state == ItemState::Missing) reasons.push_back(StateWord(ItemState::Missing));
    else if (i < wasAsked.size() && wasAsked[i] && items[i].state == asked) ++already;
  }
  const bool wholeList = command != ListCommand::ToggleSelected;
  const EventId plain = command == ListCommand::HideAll   ? EventId::ListHidden
                        : command == ListCommand::ShowAll ? EventId::ListShown
                                                          : EventId::SelectionToggled;
  if (!wholeList) already = 0;
  const std::size_t notDone = std::min(result.done, reasons.size() + already);
  trail_->Write(WithFailures(plain, reasons.size()),
                ItemCountStrings(eventListFile_, L"", result.done - notDone, reasons, result.total,
                                 wholeList ? std::optional<std::size_t>(already) : std::nullopt));
}

void ProtectedList::StopCommand() {
  if (!running_) return;
  stoppedByHost_ = true;
  running_->Stop();
}

void ProtectedList::SpeedButton1Click() { RunCommand(ListCommand::ShowAll); }
void ProtectedList::SpeedButton2Click() { RunCommand(ListCommand::HideAll); }
void ProtectedList::CacherouVoirlaslection1Click() { RunCommand(ListCommand::ToggleSelected); }
void ProtectedList::Actualiser1Click() { RunCommand(ListCommand::Refresh); }

void ProtectedList::Supprimer2Click() {
  if (!list_ || running_) return;
  const std::vector<int> selected = SelectedItems();
  if (selected.empty()) return;
  changed_ = true;
  Reshaped();
  Batch batch(*this);
  // One pass keeps the remaining rows in their order; the remarks of a row
  // that goes stay, before the next row kept (or at the end).
  std::vector<Row> kept;
  kept.reserve(rows_.size() - selected.size());
  std::size_t next = 0;
  std::wstring carried;
  auto carry = [&carried](std::wstring_view remarks) {
    if (!remarks.empty()) carried += (carried.empty() ? L"" : L"\r\n") + std::wstring(remarks);
  };
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (next < selected.size() && static_cast<std::size_t>(selected[next]) == i) {
      ++next;
      carry(RemarksOf(rows_[i]));
      continue;
    }
    if (!carried.empty()) {
      carry(RemarksOf(rows_[i]));
      rows_[i].remarksAt = pool_.size();
      rows_[i].remarksLength = carried.size();
      pool_ += carried;
      carried.clear();
    }
    kept.push_back(std::move(rows_[i]));
  }
  carry(remarksAfterLast_);
  remarksAfterLast_ = std::move(carried);
  rows_ = std::move(kept);
  CompactPool();
  // Every selected row is gone: the rows now at those places are not selected.
  SetItemSelected(list_, -1, false);
  SyncCount();
}

void ProtectedList::Supprimer1Click() {
  if (!list_ || running_) return;
  Reshaped();
  Batch batch(*this);
  if (!rows_.empty()) changed_ = true;
  // The list's remarks are no rows: they stay in the file.
  std::wstring remarks;
  for (const Row& row : rows_)
    if (row.remarksLength) remarks += std::wstring(RemarksOf(row)) + L"\r\n";
  remarksAfterLast_.insert(0, remarks);
  if (remarksAfterLast_.ends_with(L"\r\n")) remarksAfterLast_.resize(remarksAfterLast_.size() - 2);
  rows_.clear();
  pool_.clear();
  ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

void ProtectedList::outSelectionner2Click() {
  if (!list_) return;
  Batch batch(*this);
  SetItemSelected(list_, -1, true);
}

void ProtectedList::outSelectionner1Click(IFileRows& rows) {
  for (int row = 0, n = rows.ItemCount(); row < n; ++row) rows.SetSelected(row, true);
}

void ProtectedList::ouslesRpertoires1Click(IFileRows& rows) {
  for (int row = 0, n = rows.ItemCount(); row < n; ++row)
    if (TypeOfRow(rows.SubItem(row, 5), rows.SubItem(row, 1)) == ItemType::Folder) rows.SetSelected(row, true);
}

void ProtectedList::ouslesFichiers1Click(IFileRows& rows) {
  // The kind tag tells files from folders and drives in any language; a row
  // without one is judged by its type text, as its sister command does.
  for (int row = 0, n = rows.ItemCount(); row < n; ++row) {
    std::wstring kind = rows.SubItem(row, 5);
    bool file = kind.empty() ? TypeFromTypeText(rows.SubItem(row, 1)) == ItemType::File : kind == L"file";
    if (file) rows.SetSelected(row, true);
  }
}

int ProtectedList::AppendSelectedEntries(IFileRows& rows) {
  if (!list_ || running_) return 0;
  int count = rows.ItemCount();
  bool any = false;
  for (int row = 0; row < count && !any; ++row) any = rows.IsSelected(row);
  if (!any) return 0;
  Batch batch(*this);
  std::wstring folder;
  bool folderKnown = false;
  int added = 0;
  for (int row = 0; row < count; ++row) {
    if (!rows.IsSelected(row)) continue;
    std::wstring fullPath = rows.SubItem(row, 4);
    if (fullPath.empty() && !folderKnown) {
      folder = rows.Folder();
      folderKnown = true;
    }
    AddItem(DroppedPath(fullPath, folder, rows.Caption(row)), TypeOfRow(rows.SubItem(row, 5), rows.SubItem(row, 1)));
    rows.SetSelected(row, false);
    ++added;
  }
  return added;
}

}  // namespace ferlane
