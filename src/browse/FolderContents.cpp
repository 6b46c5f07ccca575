#include "browse/FolderContents.h"

#include <commctrl.h>
#include <shellapi.h>

#include "browse/ShellOps.h"
#include "browse/logic/PathOps.h"
#include "platform/Controls.h"
#include "platform/DialogFont.h"
#include "platform/ScreenDpi.h"
#include "platform/WaitCursor.h"
#include "platform/WindowThunk.h"
#include "browse/browse_resources.h"

namespace ferlane {
namespace {

constexpr wchar_t kContentsClass[] = L"TFolderContents";
constexpr int kListId = 1;
constexpr int kOkId = IDOK;
// The bottom strip holding the button, and the part of it at the right
// where the button sits (the button 60 x 22 at 1, 1 of that part).
constexpr int kPanelHeight = 22;
constexpr int kButtonPanelWidth = 80;

}  // namespace

FolderContentsWindow::~FolderContentsWindow() {
  if (hwnd_ && ::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
}

bool FolderContentsWindow::Create(HWND parent, const RECT& rc, const std::wstring& folder,
                                  const std::wstring& caption) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (!RegisterDialogClass(instance, kContentsClass, &ThunkProc<FolderContentsWindow>)) return false;
  // A sizeable tool window without system menu; it stays above the tree it covers.
  if (!::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kContentsClass, caption.c_str(),
                         WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, rc.left, rc.top, rc.right - rc.left,
                         rc.bottom - rc.top, parent, nullptr, instance, this))
    return false;
  HFONT font = DialogFont();
  list_ = CreateChild(hwnd_, instance, WC_LISTVIEWW, L"",
                      WS_VISIBLE | LVS_LIST | LVS_SHOWSELALWAYS | LVS_SORTASCENDING | LVS_SHAREIMAGELISTS |
                          LVS_SINGLESEL,
                      kListId, font, WS_EX_CLIENTEDGE);
  ok_ = CreateChild(hwnd_, instance, L"BUTTON", L"&OK", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, kOkId, font);
  const UINT glyph = IDB_BROWSE_OK + PictureStep(ScreenDpi().value) * IDB_BROWSE_DPI_STEP;
  okGlyph_.reset(static_cast<HBITMAP>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(glyph), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS)));
  if (okGlyph_) {
    // The glyph left of the caption where the common controls draw both; a
    // picture-only button elsewhere.
    ::SendMessageW(ok_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(okGlyph_.get()));
  }
  SHFILEINFOW sfi{};
  auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (images) ListView_SetImageList(list_, images, LVSIL_SMALL);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                               nullptr, instance, nullptr);
  if (tooltip_) {
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, ScreenDpi().Px(300));
    AddHint(tooltip_, hwnd_, list_, L"LeftClick - Select\rDblClick  - Open");
  }
  Fill(folder);
  Layout();
  ::ShowWindow(hwnd_, SW_SHOW);
  ::BringWindowToTop(hwnd_);
  return true;
}

std::wstring FolderContentsWindow::SelectedFile() const {
  if (!list_) return {};
  const int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
  if (row < 0) return {};
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!ListView_GetItem(list_, &item) || !item.lParam) return {};
  return reinterpret_cast<const wchar_t*>(item.lParam);
}

LRESULT FolderContentsWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kOkId && OnOk) OnOk();
      return 0;
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr && hdr->hwndFrom == list_) {
        if (hdr->code == NM_DBLCLK) OpenSelected();
        if (hdr->code == LVN_DELETEITEM)
          delete[] reinterpret_cast<wchar_t*>(reinterpret_cast<NMLISTVIEW*>(hdr)->lParam);
      }
      return 0;
    }
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wp, lp);
}

void FolderContentsWindow::Layout() {
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  const Dpi d = ScreenDpi();  // the figures are pixels at 96 DPI
  const int panel = d.Px(kPanelHeight);
  MoveChild(list_, 0, 0, rc.right, rc.bottom - panel);
  MoveChild(ok_, rc.right - d.Px(kButtonPanelWidth) + 1, rc.bottom - panel + 1, d.Px(60), panel);
}

void FolderContentsWindow::Fill(const std::wstring& folder) {
  folder_ = AddSlash(folder);
  WaitCursor wait;
  ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  WIN32_FIND_DATAW fd;
  UniqueFind find(::FindFirstFileW((folder_ + L"*.*").c_str(), &fd));
  if (find) {
    do {
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      const std::wstring path = folder_ + fd.cFileName;
      // The row keeps its full path (the list frees it when the row goes).
      auto* held = new wchar_t[path.size() + 1];
      lstrcpynW(held, path.c_str(), static_cast<int>(path.size() + 1));
      SHFILEINFOW sfi{};
      ::SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
      LVITEMW item{};
      item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
      item.iItem = ListView_GetItemCount(list_);
      item.pszText = fd.cFileName;
      item.iImage = sfi.iIcon;
      item.lParam = reinterpret_cast<LPARAM>(held);
      if (ListView_InsertItem(list_, &item) < 0) delete[] held;
    } while (::FindNextFileW(find.get(), &fd));
  }
  if (ListView_GetItemCount(list_) > 0) ListView_SetItemState(list_, 0, LVIS_FOCUSED, LVIS_FOCUSED);
  ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
}

void FolderContentsWindow::OpenSelected() {
  const std::wstring file = SelectedFile();
  ::ShowWindow(hwnd_, SW_HIDE);
  if (!file.empty()) ExecuteFile(L"Open", file, L"", ExtractFilePath(file), SW_SHOWNORMAL);
  ::ShowWindow(hwnd_, SW_SHOW);
}

}  // namespace ferlane
