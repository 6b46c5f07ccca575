#include "app/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/MenuPictures.h"
#include "app/ProgramPictures.h"
#include "listplace/ListWindowClaim.h"
#include "app/PasswordWindows.h"
#include "app/logic/Contact.h"
#include "password/logic/PasswordGate.h"
#include "password/StoredPasswordValue.h"
#include "password/logic/PasswordHash.h"
#include "app/logic/Placement.h"
#include "platform/logic/SettingsKey.h"
#include "shellfolders/logic/StoreLocation.h"
#include "platform/Controls.h"
#include "platform/DialogFont.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/PrivateRights.h"
#include "platform/Registry.h"
#include "platform/ScreenDpi.h"
#include "platform/Termination.h"
#include "platform/WindowThunk.h"
#include "resource.h"
#include "version.h"

namespace ferlane {
namespace {

constexpr wchar_t kClassName[] = L"Tficheprincipale";
// The layout's figures, in pixels at 96 DPI: each is scaled for the screen where it is used.
constexpr int kToolbarHeight = 50;
constexpr int kToolbarButton = 42;  // square
constexpr int kToolbarMargin = 4;
constexpr int kToolbarStep = 44;  // from one button to the next
constexpr int kSplitter = 3;
constexpr int kMinPane = 30;  // a splitter never closes a pane completely
constexpr int kLeftColumn = 233;  // tab 1: the tree and the file list
constexpr int kTreeHeight = 137;
constexpr int kSettingsColumn = 193;  // tab 3's left column
constexpr int kTabPadding = 3;  // horizontal, each side of a tab's picture and caption
constexpr int kTabPaddingY = 3;
constexpr wchar_t kContactAddress[] = L"ferlane@example.org";

enum ControlId {
  IDC_LABEL1 = 100,
  IDC_SPEEDBUTTON1,
  IDC_SPEEDBUTTON2,
  IDC_SPEEDBUTTON3,
  IDC_PAGECONTROL1,
  IDC_DIRTREE1,
  IDC_FILELISTVIEW1,
  IDC_GROUPBOX1,
  IDC_LISTVIEW1,
  IDC_SPEEDBUTTON5,
  IDC_BEVEL1,
};

struct MenuEntry {
  const wchar_t* caption;  // nullptr: separator
  UINT id;
  int picture;  // in ImageList1; -1 for none
};

// The "&Action" menu and the two context menus of the first tab.
constexpr MenuEntry kActionMenu[] = {
    {L"Tout &Cacher", IDM_TOUT_CACHER, kPicHide},
    {L"Tout &Voir", IDM_TOUT_VOIR, kPicShow},
    {L"Ac&tualiser\tF5", IDM_ACTUALISER, -1},
    {nullptr, 0, -1},
    // What a drag does, from the keyboard.
    {L"&Ajouter la sélection à la liste\tF6", IDM_AJOUTER_A_LA_LISTE, kPicFiles},
    {L"&Déplacer la sélection en face\tF6", IDM_DEPLACER_EN_FACE, kPicRestore},
    {nullptr, 0, -1},
    {L"&Rétablir le bureau et les programmes", IDM_RETABLIR, kPicRestoreDesktop},
    {nullptr, 0, -1},
    {L"Changer le mot de &Passe", IDM_CHANGER_MOT_DE_PASSE, kPicPassword},
    {nullptr, 0, -1},
    {L"&Fermer", IDM_FERMER, kPicClose},
};
constexpr MenuEntry kHelpMenu[] = {
    {L"Aide de Ferlane", IDM_AIDE, kPicHelp},
    {L"M'écrire", IDM_MECRIRE, kPicMail},
};
// The item ends with a tab, an empty shortcut column: a menu measures a long
// caption a few pixels short at 120 DPI and above (seen under Wine), and
// that column's gap keeps its last letter in sight.
constexpr MenuEntry kAboutMenu[] = {
    {L"Ferlane " FERLANE_VERSION_TEXT L" : cache fichiers, dossiers, raccourcis et icônes du bureau aux autres utilisateurs\t",
     IDM_APROPOS, -1},
};
constexpr MenuEntry kPopup1[] = {
    {L"Tout &Selectionner", IDM_POPUP1_TOUT_SELECTIONNER, kPicSelectAll},
    {nullptr, 0, -1},
    {L"Tous les &Répertoires", IDM_POPUP1_TOUS_REPERTOIRES, kPicShow},
    {L"Tous les &Fichiers", IDM_POPUP1_TOUS_FICHIERS, kPicFiles},
};
constexpr MenuEntry kPopup2[] = {
    {L"&Tout Selectionner", IDM_POPUP2_TOUT_SELECTIONNER, kPicSelectAll},
    {nullptr, 0, -1},
    {L"Su&pprimer la selection", IDM_POPUP2_SUPPRIMER_SELECTION, kPicRemoveSelection},
    {L"Tout &Supprimer", IDM_POPUP2_TOUT_SUPPRIMER, kPicRemoveAll},
    {nullptr, 0, -1},
    {L"&Cacher ou Voir la sélection", IDM_POPUP2_CACHER_OU_VOIR, kPicHide},
};

struct TabEntry {
  const wchar_t* caption;
  int picture;
};
constexpr TabEntry kTabs[] = {
    {L"   &Afficher ou Cacher", kPicHide},
    {L"  &Déplacer les raccourcis", kPicRestore},
    {L"  &Opérations spéciales", kPicSpecialOperations},
    {L"   &Bureau et programmes cachés", kPicHiddenStore},
};

struct SpeedButtonEntry {
  int id;
  const wchar_t* hint;
  bool raised;  // the others are flat
};
constexpr SpeedButtonEntry kSpeedButtons[] = {
    {IDC_SPEEDBUTTON1, L"Tout Voir", false},
    {IDC_SPEEDBUTTON2, L"Tout Cacher", false},
    {IDC_SPEEDBUTTON3, L"Supprimer de la liste", true},
    {IDC_SPEEDBUTTON5, L"&Rétablir le bureau et les programmes", false},
};
constexpr int kSpeedButtonPictures[] = {IDB_VOIR, IDB_CACHER, IDB_SUPPRIMER, IDB_RETABLIR};

template <std::size_t N>
HMENU BuildMenu(HMENU menu, const MenuEntry (&entries)[N]) {
  for (const auto& e : entries) {
    if (e.caption) {
      ::AppendMenuW(menu, MF_STRING, e.id, e.caption);
      if (e.picture >= 0) AttachMenuPicture(menu, e.id, e.picture);
    } else
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  }
  return menu;
}

std::wstring ToText(int v) { return std::to_wstring(v); }

using MonitorInfoFn = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);
MonitorInfoFn g_monitorInfo = nullptr;

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (g_monitorInfo(monitor, &mi))
    reinterpret_cast<std::vector<WorkArea>*>(data)->push_back(
        {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
  return TRUE;
}

// The work areas of the monitors now attached. Looked up by name: Windows 95
// and NT 4 have a single screen and no monitor calls.
std::vector<WorkArea> MonitorWorkAreas() {
  std::vector<WorkArea> areas;
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  using EnumFn = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
  auto enumMonitors = reinterpret_cast<EnumFn>(::GetProcAddress(user32, "EnumDisplayMonitors"));
  g_monitorInfo = reinterpret_cast<MonitorInfoFn>(::GetProcAddress(user32, "GetMonitorInfoW"));
  if (enumMonitors && g_monitorInfo) enumMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&areas));
  RECT work;
  if (areas.empty() && ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
    areas.push_back({work.left, work.top, work.right, work.bottom});
  return areas;
}

}  // namespace

Tficheprincipale::Tficheprincipale(std::wstring programFolder, Policies policies)
    : programFolder_(std::move(programFolder)), policies_(std::move(policies)) {
  shellFolders_.SetRightsNotice(rightsNotice_);
  explorerSettings_.SetLocked(policies_.lockSettings);
}

Tficheprincipale::~Tficheprincipale() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

bool Tficheprincipale::Create(HINSTANCE instance) {
  instance_ = instance;
  dpi_ = ScreenDpi();
  leftColumnWidth_ = dpi_.Px(kLeftColumn);
  treeHeight_ = dpi_.Px(kTreeHeight);
  WNDCLASSEXW wc{sizeof(wc)};
  if (!::GetClassInfoExW(instance, kClassName, &wc)) {
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = &ThunkProc<Tficheprincipale>;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_FERLANE));
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc)) return false;
  }
  // No automatic positioning: without stored placement the window opens in
  // the top left corner at its design size, scaled for the screen's DPI.
  hwnd_ = ::CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                            dpi_.Px(kDesignWidth), dpi_.Px(kDesignHeight), nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  CreateMainMenu();
  CreateControls();
  FormCreate();
  return true;
}

LRESULT Tficheprincipale::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp));
      return 0;
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr->hwndFrom == pageControl1_ && hdr->code == TCN_SELCHANGE) {
        ShowTabPage(TabCtrl_GetCurSel(pageControl1_));
        PageControl1Change();
      } else if (hdr->hwndFrom == listView1_.hwnd() && hdr->code == LVN_ITEMCHANGED) {
        ListView1Change();
      } else if (LRESULT answer = 0; listView1_.OnNotify(reinterpret_cast<NMHDR*>(lp), &answer)) {
        return answer;  // the texts, icon or found row of a protected item
      } else {
        for (const auto& slot : pages_)
          if (slot.page->OnNotify(*hdr)) break;
      }
      return 0;
    }
    case WM_MEASUREITEM:
      return MeasureMenuPicture(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp), ImageList1()) ? TRUE : FALSE;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      for (int i = 0; i < 4; ++i)
        if (item.CtlType == ODT_BUTTON && item.hwndItem == speedButtons_[i]) {
          toolbarPictures_.Draw(item, i, kSpeedButtons[i].raised);
          return TRUE;
        }
      return DrawMenuPicture(item, ImageList1()) ? TRUE : FALSE;
    }
    case WM_NEXTDLGCTL:
      OnNextDialogControl(wp, lp);
      return 0;
    case WM_INITMENUPOPUP:
      if (reinterpret_cast<HMENU>(wp) == actionMenu_) UpdateActionMenu(actionMenu_);
      return 0;
    case WM_ACTIVATE:
      // The control that had the focus gets it back, as in a dialog.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && ::IsWindow(lastFocus_) && ::IsWindowVisible(lastFocus_) && !::IsIconic(hwnd_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      return ::DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wp), POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wp) == hwnd_ && LOWORD(lp) == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ::ScreenToClient(hwnd_, &pt);
        if (Splitter s = SplitterAt(pt); s != Splitter::None) {
          ::SetCursor(::LoadCursorW(nullptr, s == Splitter::TreeList ? IDC_SIZENS : IDC_SIZEWE));
          return TRUE;
        }
      }
      return ::DefWindowProcW(hwnd_, msg, wp, lp);
    case WM_LBUTTONDOWN:
      BeginSplitterDrag(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ != Splitter::None) MoveSplitter(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_ != Splitter::None) {
        dragging_ = Splitter::None;
        if (::GetCapture() == hwnd_) ::ReleaseCapture();
      }
      return 0;
    case WM_CLOSE:
      if (listView1_.Busy()) {
        // The command is stopped between two items; the close follows.
        closeAfterCommand_ = true;
        listView1_.StopCommand();
        return 0;
      }
      if (FormCloseQuery()) ::DestroyWindow(hwnd_);
      return 0;
    case WM_QUERYENDSESSION:
      listView1_.StopCommand();
      // The end of the Windows session runs the close steps like any close,
      // and is never blocked.
      FormCloseQuery(true);
      return TRUE;
    case WM_ENDSESSION:
      if (wp) ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      ListWindowClaim::Unmark(hwnd_);  // a window's properties go before it does
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void Tficheprincipale::CreateMainMenu() {
  HMENU bar = ::CreateMenu();
  actionMenu_ = BuildMenu(::CreatePopupMenu(), kActionMenu);
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(actionMenu_), L"&Action");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(::CreatePopupMenu(), kHelpMenu)), L"&Aide");
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu(::CreatePopupMenu(), kAboutMenu)),
                L"A &Propos");
  ::SetMenu(hwnd_, bar);
  popup1_.reset(BuildMenu(::CreatePopupMenu(), kPopup1));
  popup2_.reset(BuildMenu(::CreatePopupMenu(), kPopup2));
}

void Tficheprincipale::CreateControls() {
  font_ = DialogFont();
  auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateChild(hwnd_, instance_, cls, text, style, id, font_);
  };

  // The role label names the hidden store; it is never shown.
  label1_ = child(L"STATIC", L"", 0, IDC_LABEL1);

  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               hwnd_, nullptr, instance_, nullptr);
  // Owner-drawn, so that a disabled button shows its picture greyed.
  toolbarPictures_.Load(instance_, kSpeedButtonPictures, 4, dpi_.value);
  for (int i = 0; i < 4; ++i) {
    const auto& b = kSpeedButtons[i];
    speedButtons_[i] = child(L"BUTTON", L"", WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, b.id);
    AddHint(tooltip_, hwnd_, speedButtons_[i], b.hint);
  }
  bevel1_ = child(L"STATIC", L"", WS_VISIBLE | SS_ETCHEDVERT, IDC_BEVEL1);

  pageControl1_ = child(WC_TABCONTROLW, L"", WS_VISIBLE | WS_TABSTOP, IDC_PAGECONTROL1);
  TabCtrl_SetImageList(pageControl1_, ImageList1());
  // Narrow padding, so that the four tabs with their pictures fit side by
  // side at the design width instead of scrolling.
  TabCtrl_SetPadding(pageControl1_, dpi_.Px(kTabPadding), dpi_.Px(kTabPaddingY));
  for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i) {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<wchar_t*>(kTabs[i].caption);
    item.iImage = kTabs[i].picture;
    TabCtrl_InsertItem(pageControl1_, i, &item);
  }

  // First tab: the tree over the file list on the left, the protected list on the right.
  RECT none{0, 0, 0, 0};
  dirTree1_.Create(hwnd_, IDC_DIRTREE1, none);
  dirTree1_.SetLanguage(lnFrench);
  dirTree1_.SetReadOnly(true);
  dirTree1_.SetIndent(19);
  fileListView1_.Create(hwnd_, IDC_FILELISTVIEW1, none);
  fileListView1_.SetLanguage(lnFrench);
  fileListView1_.SetShowFolders(true);
  fileListView1_.SetHideFileExt(false);
  fileListView1_.SetDblClickToOpen(true);
  fileListView1_.SetParentDirEnabled(false);
  fileListView1_.SetPopUpMenuEnabled(false);
  fileListView1_.SetPopupMenu(popup1_.get(), hwnd_);
  fileListView1_.SetColWidth_Mod(125);  // at 96 DPI, as every column width
  fileListView1_.SetReadOnly(true);
  fileListView1_.SetDragTarget(this);
  fileListView1_.SetDirTree(&dirTree1_);
  // A group box paints only its frame and caption; as a transparent window it
  // leaves its inside to the tab control beneath, which would otherwise skip
  // it and leave a black band on the first paint.
  groupBox1_ = CreateChild(hwnd_, instance_, L"BUTTON", L"&Répertoires et Fichiers sélectionnés",
                           WS_VISIBLE | BS_GROUPBOX, IDC_GROUPBOX1, font_, WS_EX_TRANSPARENT);
  listView1_.Create(hwnd_, IDC_LISTVIEW1);
  const PageHost host{hwnd_, instance_, font_, ImageList1(), tooltip_, dpi_};
  for (const auto& slot : pages_) slot.page->Create(host);
  // The names assistive technology reads: a view's is its box's caption.
  SetAccessibleName(dirTree1_.TreeHwnd(), L"Dossiers");
  SetAccessibleName(fileListView1_.ListHwnd(), L"Fichiers du dossier");
  SetAccessibleName(listView1_.hwnd(), L"&Répertoires et Fichiers sélectionnés");
  for (int i = 0; i < 4; ++i) SetAccessibleName(speedButtons_[i], kSpeedButtons[i].hint);
  // The focus is always shown, and the access keys underlined, whether the
  // window was reached by mouse or keyboard.
  ::SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  // The tab control lies under its pages, the box under the list it frames.
  ::SetWindowPos(pageControl1_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowPos(groupBox1_, listView1_.hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowTabPage(0);
  Layout();
}

void Tficheprincipale::ShowTabPage(int index) {
  const int show = index == 0 ? SW_SHOW : SW_HIDE;
  for (HWND h : {dirTree1_.hwnd(), fileListView1_.hwnd(), groupBox1_, listView1_.hwnd()})
    if (h) ::ShowWindow(h, show);
  for (const auto& slot : pages_) slot.page->Show(slot.tab == index);
}

RECT Tficheprincipale::PageArea(const PageSlot& slot) const {
  RECT area = PageRect();
  const int column = dpi_.Px(kSettingsColumn);
  if (slot.page == &explorerSettings_) area.right = std::min<LONG>(area.right, area.left + column);
  if (slot.page == &personalItems_) area.left = std::min<LONG>(area.right, area.left + column);
  return area;
}

RECT Tficheprincipale::PageRect() const {
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  RECT page{0, dpi_.Px(kToolbarHeight), rc.right, rc.bottom};
  TabCtrl_AdjustRect(pageControl1_, FALSE, &page);
  return page;
}

void Tficheprincipale::Layout() {
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  const Dpi& d = dpi_;
  const int button = d.Px(kToolbarButton), top = d.Px(kToolbarMargin);
  auto buttonLeft = [&](int n) { return d.Px(kToolbarMargin + n * kToolbarStep); };
  for (int i = 0; i < 3; ++i) MoveChild(speedButtons_[i], buttonLeft(i), top, button, button);
  MoveChild(bevel1_, buttonLeft(3) + d.Px(3), top, d.Px(2), button);
  MoveChild(speedButtons_[3], buttonLeft(3) + d.Px(8), top, button, button);
  const int toolbar = d.Px(kToolbarHeight), splitter = d.Px(kSplitter);
  MoveChild(pageControl1_, 0, toolbar, rc.right, rc.bottom - toolbar);
  const RECT page = PageRect();
  const int pageHeight = page.bottom - page.top;
  MoveChild(dirTree1_.hwnd(), page.left, page.top, leftColumnWidth_, treeHeight_);
  MoveChild(fileListView1_.hwnd(), page.left, page.top + treeHeight_ + splitter, leftColumnWidth_,
            pageHeight - treeHeight_ - splitter);
  const int right = page.left + leftColumnWidth_ + splitter;
  MoveChild(groupBox1_, right, page.top, page.right - right, pageHeight);
  MoveChild(listView1_.hwnd(), right + d.Px(6), page.top + d.Px(16), page.right - right - d.Px(12),
            pageHeight - d.Px(22));
  for (const auto& slot : pages_) slot.page->Layout(PageArea(slot));
}

Tficheprincipale::Splitter Tficheprincipale::SplitterAt(POINT pt) const {
  if (TabCtrl_GetCurSel(pageControl1_) != 0) return Splitter::None;
  const RECT page = PageRect();
  if (pt.y < page.top || pt.y >= page.bottom) return Splitter::None;
  const int splitter = dpi_.Px(kSplitter);
  const int gapX = page.left + leftColumnWidth_;
  if (pt.x >= gapX && pt.x < gapX + splitter) return Splitter::Columns;
  const int gapY = page.top + treeHeight_;
  if (pt.x >= page.left && pt.x < gapX && pt.y >= gapY && pt.y < gapY + splitter) return Splitter::TreeList;
  return Splitter::None;
}

void Tficheprincipale::BeginSplitterDrag(POINT pt) {
  dragging_ = SplitterAt(pt);
  if (dragging_ == Splitter::None) return;
  // Where in the gap the press fell, so that the gap follows the pointer.
  const RECT page = PageRect();
  grabOffset_ = dragging_ == Splitter::TreeList ? pt.y - (page.top + treeHeight_) : pt.x - (page.left + leftColumnWidth_);
  ::SetCapture(hwnd_);
}

void Tficheprincipale::MoveSplitter(POINT pt) {
  const RECT page = PageRect();
  const int minPane = dpi_.Px(kMinPane), splitter = dpi_.Px(kSplitter);
  if (dragging_ == Splitter::TreeList)
    treeHeight_ = std::clamp(static_cast<int>(pt.y - grabOffset_ - page.top), minPane,
                             std::max(minPane, static_cast<int>(page.bottom - page.top) - splitter - minPane));
  else
    leftColumnWidth_ = std::clamp(static_cast<int>(pt.x - grabOffset_ - page.left), minPane,
                                  std::max(minPane, static_cast<int>(page.right - page.left) - splitter - minPane));
  Layout();
}

// ---- Creation, first showing, closing -------------------------------------

void Tficheprincipale::FormCreate() {
  userName_ = GetLogonUserName();
  // The design size in the top left corner, scaled for the screen, until a
  // stored placement says otherwise.
  const WindowBounds design = DesignPlacement(dpi_.value, MonitorWorkAreas());
  ::MoveWindow(hwnd_, design.left, design.top, design.width, design.height, FALSE);
  // The program's folder is hidden at every start; the value replaces the
  // read-only, system and archive bits.
  ::SetFileAttributesW(programFolder_.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ReadPlacement();
  SetCaptionAndRole();
  // The protected list shares the system's small icons (ProtectedList::Create).
  LookupShellFolders();
  LoadListFile();
}

void Tficheprincipale::ReadPlacement() {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSettingsKey) != ERROR_SUCCESS) return;
  RECT rc;
  ::GetWindowRect(hwnd_, &rc);
  WindowBounds b{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
  // A value of another registry type, or text that is not a decimal integer,
  // is ignored: the coordinate keeps its value and start-up goes on.
  std::optional<std::wstring> texts[4];
  for (int i = 0; i < 4; ++i) texts[i] = key.ReadString(kPlacementNames[i]);
  ApplyPlacementTexts(b, texts);
  // A monitor that is gone or a hand-made value must not hide the window.
  b = UsablePlacement(b, MonitorWorkAreas(), dpi_.value);
  ::MoveWindow(hwnd_, b.left, b.top, b.width, b.height, FALSE);
}

void Tficheprincipale::SetCaptionAndRole() {
  osFamily_ = GetOsFamily();
  const bool nt = IsNtFamily(osFamily_);
  const std::wstring caption = (nt ? L"Ferlane 1.0 - Administrateur : " : L"Ferlane 1.0 - Utilisateur : ") + userName_;
  roleLabel_ = ComposeRoleLabel(nt, userName_);
  ::SetWindowTextW(hwnd_, caption.c_str());
  ::SetWindowTextW(label1_, roleLabel_.c_str());
}

void Tficheprincipale::LookupShellFolders() { shellFolders_.LookupShellFolders(hwnd_); }

void Tficheprincipale::ReadExplorerSettings() { explorerSettings_.ReadExplorerSettings(); }

void Tficheprincipale::CreateHiddenStore() {
  const std::wstring told = ReadStrandedTold();
  shellFolders_.SetStrandedTold(told);
  shellFolders_.CreateHiddenStore(roleLabel_);
  shellFolders_.NameSetAside(programFolder_);
  RememberStrandedTold(told);
}

std::wstring Tficheprincipale::ReadStrandedTold() const {
  RegistryKey key;
  if (key.Open(HKEY_CURRENT_USER, kSettingsKey) != ERROR_SUCCESS) return {};
  return key.ReadStringOrEmpty(kStrandedToldValue);
}

void Tficheprincipale::RememberStrandedTold(const std::wstring& before) {
  // Remembered at once, as what the user has now been told; a terminating
  // run writes nothing.
  RegistryKey key;
  if (shellFolders_.StrandedTold() != before && !TerminationRequested() &&
      key.Open(HKEY_CURRENT_USER, kSettingsKey, true) == ERROR_SUCCESS) {
    if (shellFolders_.StrandedTold().empty()) key.DeleteValue(kStrandedToldValue);
    else key.WriteString(kStrandedToldValue, shellFolders_.StrandedTold());
  }
}

void Tficheprincipale::ShowFirstTime() {
  FormShow();
  if (!TerminationRequested()) {
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    // The transparent group box is painted last, over the tab control beneath.
    ::RedrawWindow(groupBox1_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
}

void Tficheprincipale::FormShow() {
  // Only the NT family has administrators to test.
  if (IsNtFamily(osFamily_) && !IsAdministrator()) {
    // Written before the box, which may stay up as long as no one answers it.
    Record(trail_, EventId::RefusedNotAdministrator);
    ShowMessage(hwnd_, L"Vous n'êtes pas l'administrateur de ce système NT-XP: l'application va se terminer.",
                MB_OK);
    RequestTermination();
  }
  ReadExplorerSettings();
  RunPasswordGate();
  try {
    fixedDrives_ = GetFixedDrives();
  } catch (const std::runtime_error& e) {
    ShowError(hwnd_, ExceptionText(e));
  }
  // The tree opens on the program's folder, then on the first fixed drive.
  dirTree1_.OpenPath(programFolder_);
  if (!fixedDrives_.empty()) dirTree1_.OpenPath(fixedDrives_.front());
  UpdateListButtons();
  // A refused start writes nothing more: no list file moved in, no store
  // made or joined, no rights given, no message beyond the refusal.
  if (!TerminationRequested()) AdoptWhatEarlierRunsLeft();
}

void Tficheprincipale::RunPasswordGate() {
  if (TerminationRequested()) return;
  const StoredPasswordValue value = ReadStoredPasswordValue(userName_);
  if (value.openError != ERROR_SUCCESS) return;
  const std::wstring& stored = value.text;
  // A value that is there but no text (a REG_DWORD) is damaged too:
  // offering a new password would let anyone at the window replace the one
  // that was set.
  if (value.Damaged()) {
    // No typed text may open it, and nothing is written over it.
    Record(trail_, EventId::RefusedDamagedPassword, {PasswordValueName(userName_)});
    ShowError(hwnd_, DamagedPasswordText(userName_) + L" Ferlane va se terminer sans rien enregistrer.");
    RequestTermination();
    return;
  }
  passwordAtStart_ = stored;
  if (!stored.empty()) {
    currentPassword_ = stored;
    if (!passwords_.passe) return;
    const bool opened = passwords_.passe->ShowModal(hwnd_, userName_, stored);
    // A password stored in an older form comes back hashed in today's.
    if (opened && passwords_.passe->NewPassword()) currentPassword_ = *passwords_.passe->NewPassword();
    // The prompt ends the program after too many wrong tries.
    if (!opened && TerminationRequested()) Record(trail_, EventId::RefusedWrongPassword, {L"trop d'essais faux"});
  } else if (passwords_.saisie) {
    passwordChosen_ = passwords_.saisie->ShowModal(hwnd_, userName_, currentPassword_);
  }
}

bool Tficheprincipale::FormCloseQuery(bool endingSession) {
  if (closeStepsDone_) return true;
  if (TerminationRequested()) return true;  // a terminating run writes nothing
  // The list file first: while it cannot be written the window may stay
  // open, and nothing else is written either.
  if (!SaveListFile(endingSession)) return false;
  WriteSettings();
  fixedDrives_.clear();
  closeStepsDone_ = true;
  return true;
}

void Tficheprincipale::WriteSettings() {
  RegistryKey key;
  LONG rc = key.Open(HKEY_CURRENT_USER, kSettingsKey, true);
  if (rc != ERROR_SUCCESS) {
    ShowError(hwnd_, SystemErrorText(static_cast<DWORD>(rc)));
    return;
  }
  // A minimized or maximized window is stored at its normal place; a place
  // no monitor shows is never stored.
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if ((::IsIconic(hwnd_) || ::IsZoomed(hwnd_)) && ::GetWindowPlacement(hwnd_, &wp)) r = wp.rcNormalPosition;
  const WindowBounds b =
      UsablePlacement({r.left, r.top, r.right - r.left, r.bottom - r.top}, MonitorWorkAreas(), dpi_.value);
  // Already in its stored form: hashed when it was typed.
  if (key.WriteString(userName_, currentPassword_) == ERROR_SUCCESS) RecordPasswordWrite();
  key.WriteString(kPlacementNames[0], ToText(b.left));
  key.WriteString(kPlacementNames[1], ToText(b.top));
  key.WriteString(kPlacementNames[2], ToText(b.width));
  key.WriteString(kPlacementNames[3], ToText(b.height));
}

// ---- Commands ----------------------------------------------------------------

void Tficheprincipale::OnCommand(UINT id) {
  switch (id) {
    case IDM_FERMER: Fermer2Click(); break;
    case IDM_CHANGER_MOT_DE_PASSE: Changerlemotdepasse1Click(); break;
    case IDM_TOUT_VOIR:
    case IDC_SPEEDBUTTON1: SpeedButton1Click(); break;
    case IDM_TOUT_CACHER:
    case IDC_SPEEDBUTTON2: SpeedButton2Click(); break;
    case IDC_SPEEDBUTTON3:
    case IDM_POPUP2_SUPPRIMER_SELECTION: Supprimer2Click(); break;
    case IDM_POPUP2_TOUT_SUPPRIMER: Supprimer1Click(); break;
    case IDM_POPUP2_CACHER_OU_VOIR: CacherouVoirlaslection1Click(); break;
    case IDM_POPUP2_TOUT_SELECTIONNER: outSelectionner2Click(); break;
    case IDM_POPUP1_TOUT_SELECTIONNER: outSelectionner1Click(); break;
    case IDM_POPUP1_TOUS_REPERTOIRES: ouslesRpertoires1Click(); break;
    case IDM_POPUP1_TOUS_FICHIERS: ouslesFichiers1Click(); break;
    case IDM_RETABLIR:
    case IDC_SPEEDBUTTON5: SpeedButton5Click(); break;
    case IDM_AIDE: AidedeFerlane1Click(); break;
    case IDM_ACTUALISER: Actualiser1Click(); break;
    case IDM_AJOUTER_A_LA_LISTE: AjouterALaListeClick(); break;
    case IDM_DEPLACER_EN_FACE: DeplacerEnFaceClick(); break;
    case IDM_MECRIRE: Mcrire1Click(); break;
    default:
      // The pages' own buttons and menu items.
      for (const auto& slot : pages_)
        if (slot.page->OnCommand(id)) break;
      break;
  }
}

void Tficheprincipale::OnContextMenu(HWND target, POINT pt) {
  if (pt.x == -1 && pt.y == -1) {
    // From the keyboard: under the protected list's focused row, or at the
    // corner of the control.
    ::GetCursorPos(&pt);
    if (target && ::IsWindow(target)) {
      RECT rc{0, 0, 0, 0};
      const int row = target == listView1_.hwnd() ? ListView_GetNextItem(target, -1, LVNI_FOCUSED) : -1;
      if (row < 0 || !ListView_GetItemRect(target, row, &rc, LVIR_LABEL)) rc = RECT{0, 0, 0, 0};
      pt = POINT{rc.left, rc.bottom};
      ::ClientToScreen(target, &pt);
    }
  }
  for (const auto& slot : pages_)
    if (slot.page->OnContextMenu(target, pt)) return;
  // The file list shows its own host menu (Popup1); the protected list is ours.
  if (target != listView1_.hwnd()) return;
  ::TrackPopupMenu(popup2_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
}

void Tficheprincipale::Fermer2Click() { ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); }

void Tficheprincipale::AidedeFerlane1Click() {
  // The shell reports nothing when the file is missing; neither do we.
  std::wstring folder = programFolder_;
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  const std::wstring help = folder + L"\\ferlane.chm";
  ::ShellExecuteW(hwnd_, nullptr, help.c_str(), L"", L"", SW_SHOW);
}

void Tficheprincipale::Mcrire1Click() {
  ::ShellExecuteW(hwnd_, L"open", ContactMailto(kContactAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Tficheprincipale::RecordPasswordWrite() {
  if (const auto id = PasswordEvent(!passwordAtStart_.empty(), !currentPassword_.empty(), passwordChosen_))
    Record(trail_, *id);
  passwordAtStart_ = currentPassword_;
  passwordChosen_ = false;
}

void Tficheprincipale::Changerlemotdepasse1Click() {
  if (!passwords_.nouveaupasse) return;
  if (passwords_.nouveaupasse->ShowModal(hwnd_, userName_, currentPassword_))
    passwordChosen_ = true;
  else if (TerminationRequested())  // too many wrong tries of the current password
    Record(trail_, EventId::RefusedWrongPassword, {L"trop d'essais faux au changement du mot de passe"});
}

void Tficheprincipale::PageControl1Change() { UpdateListButtons(); }
void Tficheprincipale::ListView1Change() { UpdateListButtons(); }

HWND Tficheprincipale::SpeedButton(int n) const {
  if (n == 5) return speedButtons_[3];
  return n >= 1 && n <= 3 ? speedButtons_[n - 1] : nullptr;
}

}  // namespace ferlane
