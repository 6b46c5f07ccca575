#include "protect/ProtectedList.h"

#include <commctrl.h>
#include <shellapi.h>

#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "protect/ListFileIo.h"
#include "protect/logic/DropRules.h"
#include "protect/logic/ExactPath.h"
#include "protect/logic/ListFile.h"

namespace ferlane {
namespace {

// Marks ListView1 as this object's, so a handle reused after the window
// went away is never taken for it.
constexpr wchar_t kOwnerProp[] = L"FerlaneProtectedList";

std::wstring ItemText(HWND list, int item, int subItem) {
  std::wstring buffer(260, L'\0');
  for (;;) {
    LVITEMW lvi{};
    lvi.iSubItem = subItem;
    lvi.pszText = buffer.data();
    lvi.cchTextMax = static_cast<int>(buffer.size());
    int n = static_cast<int>(::SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi)));
    if (n < 0) n = 0;
    // A text that filled the buffer may have been cut: ask again with more room.
    if (n < static_cast<int>(buffer.size()) - 1 || buffer.size() >= 65536) {
      buffer.resize(static_cast<std::size_t>(n));
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

void SetItemText(HWND list, int item, int subItem, const std::wstring& text) {
  LVITEMW lvi{};
  lvi.iSubItem = subItem;
  lvi.pszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(list, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi));
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

// Listed paths are addressed exactly, so the item named is the item changed.
std::uint32_t Win32FileAttributes::Get(const std::wstring& path) {
  return ::GetFileAttributesW(ExactPath(path).c_str());
}

std::uint32_t Win32FileAttributes::Set(const std::wstring& path, std::uint32_t attributes) {
  // A word with no settable bit left means "no attribute": say so the way
  // the system expects it.
  if (::SetFileAttributesW(ExactPath(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) return 0;
  DWORD error = ::GetLastError();
  return error ? error : ERROR_ACCESS_DENIED;
}

std::wstring AttributeFailureText(const AttributeFailures& failures) {
  // A long list of refusals (a whole read-only volume) is cut, not endless.
  constexpr std::size_t kShown = 15;
  std::wstring text = L"Les attributs de ces \u00E9l\u00E9ments n'ont pas pu \u00EAtre chang\u00E9s :";
  for (std::size_t i = 0; i < failures.size() && i < kShown; ++i) {
    std::wstring reason = SystemErrorText(failures[i].error);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
      reason.pop_back();
    text += L"\r\n" + failures[i].path + L" : " + reason;
  }
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
  // Several items selectable, labels not editable, the system's image list shared.
  list_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS, rc.left, rc.top,
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
    col.cx = columns[i].width;
    col.iSubItem = i;
    ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
  }
  SHFILEINFOW sfi{};
  auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) ::SendMessageW(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  return true;
}

int ProtectedList::ItemCount() const {
  return list_ ? static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

std::wstring ProtectedList::Caption(int item) const { return ItemText(list_, item, 0); }
std::wstring ProtectedList::TypeText(int item) const { return ItemText(list_, item, 1); }
std::wstring ProtectedList::StateText(int item) const { return ItemText(list_, item, 2); }

int ProtectedList::ImageIndex(int item) const {
  LVITEMW lvi{};
  lvi.mask = LVIF_IMAGE;
  lvi.iItem = item;
  if (!::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi))) return -1;
  // A host that does not pass on the list's notifications gets it here.
  if (lvi.iImage == I_IMAGECALLBACK) return const_cast<ProtectedList*>(this)->ResolveIcon(item);
  return lvi.iImage;
}

bool ProtectedList::IsSelected(int item) const {
  return (::SendMessageW(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ProtectedList::SetSelected(int item, bool selected) { SetItemSelected(list_, item, selected); }

void ProtectedList::InsertItem(int at, const std::wstring& path, ItemType type, ItemState state, int image) {
  LVITEMW lvi{};
  lvi.mask = LVIF_TEXT | LVIF_IMAGE;
  lvi.iItem = at;
  lvi.pszText = const_cast<wchar_t*>(path.c_str());
  lvi.iImage = image;
  int index = static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
  if (index < 0) return;
  SetItemText(list_, index, 1, TypeWord(type));
  SetItemText(list_, index, 2, StateWord(state));
}

void ProtectedList::InsertFromDisk(int at, const std::wstring& path, ItemType type) {
  ItemState state = StateFromAttributes(::GetFileAttributesW(ExactPath(path).c_str()));
  // The icon is asked when the row is first drawn: the shell's look-up is
  // the slow part of loading a long list.
  InsertItem(at, path, type, state, I_IMAGECALLBACK);
}

int ProtectedList::ResolveIcon(int item) {
  const int image = ItemIconIndex(Caption(item), TypeFromLine(TypeText(item)));
  LVITEMW lvi{};
  lvi.mask = LVIF_IMAGE;
  lvi.iItem = item;
  lvi.iImage = image;
  ::SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lvi));
  return image;
}

bool ProtectedList::OnNotify(NMHDR* hdr) {
  if (!hdr || hdr->hwndFrom != list_ || hdr->code != LVN_GETDISPINFOW) return false;
  auto* info = reinterpret_cast<NMLVDISPINFOW*>(hdr);
  if (!(info->item.mask & LVIF_IMAGE)) return false;
  info->item.iImage = ItemIconIndex(Caption(info->item.iItem), TypeFromLine(TypeText(info->item.iItem)));
  info->item.mask |= LVIF_DI_SETITEM;  // kept by the list view: asked once per row
  return true;
}

void ProtectedList::AddItem(const std::wstring& path, ItemType type) {
  if (!list_) return;
  Batch batch(*this);
  InsertFromDisk(ItemCount(), path, type);
}

DWORD ProtectedList::LoadListFile(const std::wstring& fileName) {
  if (!Alive()) return ERROR_INVALID_WINDOW_HANDLE;
  // A save killed half-way leaves its temporary file; it is of no use now.
  RemoveStaleListTempFiles(fileName);
  std::vector<std::wstring> lines;
  bool whole = true;
  DWORD error = ReadListFile(fileName, lines, &whole);
  if (error != ERROR_SUCCESS) {
    unreadFile_ = fileName;
    return error;
  }
  if (!whole) unkeptFile_ = fileName;
  if (lines.empty()) return ERROR_SUCCESS;
  auto records = RecordsFromLines(lines);
  Batch batch(*this);
  ::SendMessageW(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(ItemCount()) + records.size(), 0);
  for (const auto& record : records) InsertFromDisk(ItemCount(), record.path, record.type);
  return ERROR_SUCCESS;
}

DWORD ProtectedList::SaveListFile(const std::wstring& fileName, const ListSaveStop& stopAfter) {
  // Without the list view there is nothing trustworthy to write: an empty
  // file here would wipe the stored list.
  if (!Alive()) return ERROR_INVALID_WINDOW_HANDLE;
  if (!unreadFile_.empty() && ::lstrcmpiW(unreadFile_.c_str(), fileName.c_str()) == 0) {
    // The load failed, so the list lacks the stored items: fetch them now,
    // in front as a successful load would have put them.
    std::vector<std::wstring> stored;
    bool whole = true;
    DWORD error = ReadListFile(fileName, stored, &whole);
    if (error != ERROR_SUCCESS) return error;
    unreadFile_.clear();
    if (!whole) unkeptFile_ = fileName;
    auto records = RecordsFromLines(stored);
    Batch batch(*this);
    for (std::size_t i = 0; i < records.size(); ++i)
      InsertFromDisk(static_cast<int>(i), records[i].path, records[i].type);
  }
  if (!unkeptFile_.empty() && ::lstrcmpiW(unkeptFile_.c_str(), fileName.c_str()) == 0) {
    // The file holds more than the list could read: its bytes are kept
    // beside it before they are replaced, or not replaced at all.
    DWORD error = ERROR_SUCCESS;
    if (BackUpListFile(fileName, error).empty()) return error ? error : ERROR_FILE_EXISTS;
    unkeptFile_.clear();
  }
  std::vector<std::wstring> lines;
  int count = ItemCount();
  lines.reserve(static_cast<std::size_t>(count) * 2);
  for (int i = 0; i < count; ++i) {
    lines.push_back(Caption(i));
    lines.push_back(TypeText(i));
  }
  return WriteListFile(fileName, lines, stopAfter);
}

std::wstring ProtectedList::PartlyReadText(const std::wstring& fileName) {
  return L"Le fichier \"" + fileName +
         L"\" n'a pas pu \u00EAtre lu en entier (octet nul ou caract\u00E8re illisible). Les \u00E9l\u00E9ments "
         L"lisibles sont charg\u00E9s ; le contenu d'origine sera gard\u00E9 dans \"" +
         ListBackupName(fileName, 1) + L"\" avant que la liste ne soit enregistr\u00E9e.";
}

std::wstring ProtectedList::OpenErrorText(const std::wstring& fileName, DWORD error) {
  return OpenListFileErrorText(fileName, error);
}

std::wstring ProtectedList::CreateErrorText(const std::wstring& fileName, DWORD error) {
  return CreateListFileErrorText(fileName, error);
}

std::vector<ProtectedItem> ProtectedList::Snapshot() const {
  std::vector<ProtectedItem> items;
  int count = ItemCount();
  items.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    ProtectedItem item;
    item.path = Caption(i);
    item.type = TypeFromLine(TypeText(i));
    item.state = StateFromWord(StateText(i));
    item.selected = IsSelected(i);
    items.push_back(std::move(item));
  }
  return items;
}

void ProtectedList::SetState(int item, ItemState state) { SetItemText(list_, item, 2, StateWord(state)); }

void ProtectedList::RunCommand(AttributeFailures (*command)(IFileAttributes&, std::vector<ProtectedItem>&),
                               bool selectedOnly) {
  if (ItemCount() == 0) return;
  auto items = Snapshot();
  Win32FileAttributes fs;
  AttributeFailures failures = command(fs, items);
  {
    Batch batch(*this);
    for (std::size_t i = 0; i < items.size(); ++i)
      if (!selectedOnly || items[i].selected) SetState(static_cast<int>(i), items[i].state);
  }
  // One message after the loop, so a read-only volume does not ask once per item.
  if (!failures.empty()) ShowError(::GetParent(list_), AttributeFailureText(failures));
}

void ProtectedList::SpeedButton1Click() { RunCommand(&ShowAll, false); }
void ProtectedList::SpeedButton2Click() { RunCommand(&HideAll, false); }
void ProtectedList::CacherouVoirlaslection1Click() { RunCommand(&ToggleSelected, true); }

void ProtectedList::Supprimer2Click() {
  if (!list_) return;
  Batch batch(*this);
  // From the end, so the indexes still to visit do not move.
  for (int i = ItemCount() - 1; i >= 0; --i)
    if (IsSelected(i)) ::SendMessageW(list_, LVM_DELETEITEM, i, 0);
}

void ProtectedList::Supprimer1Click() {
  if (!list_) return;
  Batch batch(*this);
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
  if (!list_) return 0;
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
