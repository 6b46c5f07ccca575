#include "shellfolders/HiddenStorePage.h"

#include <algorithm>

#include "picture_numbers.h"
#include "platform/Controls.h"
#include "resource.h"

namespace ferlane {
namespace {

// Pixels at 96 DPI, scaled for the screen.
constexpr int kStrip = 41;
constexpr int kSplitter = 3;
constexpr int kMinPane = 40;
constexpr int kTopHeight = 209;  // the splitter at first
constexpr RECT kSpeedButton4{4, 5, 4 + 33, 5 + 30};
constexpr UINT kWatchMs = 1000;

constexpr ShellViewSetup kProgcach{L"progcach", IDC_PROGCACH, true, true, L" Parent",
                                  L"Clic gauche:menu / dble clic pour exécuter"};
constexpr ShellViewSetup kBurcach{L"burcach", IDC_BURCACH, false, true, L" Parent",
                                 L"Clic gauche:menu / dble clic pour exécuter"};

constexpr PageMenuEntry kMenucacheprog[] = {
    {L"&Tout sélectionner", IDM_MENUCACHEPROG_TOUT_SELECTIONNER, kPicSelectAll},
    {nullptr, 0, -1},
    {L"&Rétablir", IDM_MENUCACHEPROG_RETABLIR, kPicRestore},
};
constexpr PageMenuEntry kMenucachebur[] = {
    {L"&Tout sélectionner", IDM_MENUCACHEBUR_TOUT_SELECTIONNER, kPicSelectAll},
    {nullptr, 0, -1},
    {L"&Rétablir", IDM_MENUCACHEBUR_RETABLIR, kPicRestore},
};

void SelectEvery(TFileListView& view) {
  for (int row = 0, n = view.ItemCount(); row < n; ++row) view.SetSelected(row, true);
}

}  // namespace

HiddenStorePage::~HiddenStorePage() {
  if (window_) ::KillTimer(window_, reinterpret_cast<UINT_PTR>(this));
}

void CALLBACK HiddenStorePage::WatchTimer(HWND, UINT, UINT_PTR id, DWORD) {
  auto* page = reinterpret_cast<HiddenStorePage*>(id);
  if (page->visible_) page->folders_.WatchStore(true);
}

void HiddenStorePage::Create(const PageHost& host) {
  dpi_ = host.dpi;
  topHeight_ = dpi_.Px(kTopHeight);
  window_ = host.window;
  // The page's address names its timer: no id of the main window's own is that large.
  ::SetTimer(window_, reinterpret_cast<UINT_PTR>(this), kWatchMs, &HiddenStorePage::WatchTimer);
  menucacheprog_.reset(BuildPageMenu(kMenucacheprog));
  menucachebur_.reset(BuildPageMenu(kMenucachebur));
  speedButton4_ = CreateChild(host.window, host.instance, L"BUTTON", L"", WS_TABSTOP | BS_PUSHBUTTON | BS_ICON,
                              IDC_SPEEDBUTTON4, host.font);
  // The store's own picture: the button brings its view back to the store's top.
  speedButton4Picture_.reset(::ImageList_GetIcon(host.pictures, kPicHiddenStore, ILD_NORMAL));
  ::SendMessageW(speedButton4_, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(speedButton4Picture_.get()));
  AddHint(host.tooltip, host.window, speedButton4_, L"Menu <Démarrer>");
  folders_.CreateShellView(host, progcach_, kProgcach, menucacheprog_.get());
  folders_.CreateShellView(host, burcach_, kBurcach, menucachebur_.get());
  splitter_.Create(host.window, host.instance, IDC_SHELL_SPLITTERS + 4, SplitterBar::Axis::Rows);
  progGroup_ = CreateGroup(host, L"&Programmes cachés", IDC_SHELL_GROUPS + 7);
  burGroup_ = CreateGroup(host, L"&Bureau caché", IDC_SHELL_GROUPS + 8);
  SetAccessibleName(progcach_.ListHwnd(), L"&Programmes cachés");
  SetAccessibleName(burcach_.ListHwnd(), L"&Bureau caché");
  SetAccessibleName(speedButton4_, L"Menu <Démarrer>");
  splitter_.OnMoved = [this](int d) {
    topHeight_ += d;
    Layout(area_);
  };
}

void HiddenStorePage::Show(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND h : {speedButton4_, progGroup_, burGroup_, progcach_.hwnd(), burcach_.hwnd(), splitter_.hwnd()})
    ::ShowWindow(h, show);
  visible_ = visible;
  if (visible) folders_.WatchStore(true);  // what changed while the tab was away
}

void HiddenStorePage::TabStops(std::vector<HWND>& order) const {
  for (HWND h : {speedButton4_, progGroup_, progcach_.hwnd(), burGroup_, burcach_.hwnd()}) order.push_back(h);
}

void HiddenStorePage::Layout(const RECT& area) {
  area_ = area;
  const int strip = dpi_.Px(kStrip), splitter = dpi_.Px(kSplitter), minPane = dpi_.Px(kMinPane);
  const int room = area.bottom - area.top - splitter;
  topHeight_ = std::clamp(topHeight_, strip + minPane, std::max(strip + minPane, room - minPane));
  const RECT& b = kSpeedButton4;
  MoveChild(speedButton4_, area.left + dpi_.Px(b.left), area.top + dpi_.Px(b.top), dpi_.Px(b.right - b.left),
            dpi_.Px(b.bottom - b.top));
  const int split = area.top + topHeight_;
  PlaceGroup(progGroup_, nullptr, progcach_.hwnd(), RECT{area.left, area.top + strip, area.right, split}, dpi_);
  MoveChild(splitter_.hwnd(), area.left, split, area.right - area.left, splitter);
  PlaceGroup(burGroup_, nullptr, burcach_.hwnd(), RECT{area.left, split + splitter, area.right, area.bottom}, dpi_);
}

bool HiddenStorePage::OnCommand(UINT id) {
  switch (id) {
    case IDC_SPEEDBUTTON4: SpeedButton4Click(); return true;
    case IDM_MENUCACHEPROG_TOUT_SELECTIONNER: toutslectionner1Click(); return true;
    case IDM_MENUCACHEPROG_RETABLIR: Rtablir1Click(); return true;
    case IDM_MENUCACHEBUR_TOUT_SELECTIONNER: outslectionner3Click(); return true;
    case IDM_MENUCACHEBUR_RETABLIR: Rtablir2Click(); return true;
    default: return false;
  }
}

void HiddenStorePage::SpeedButton4Click() { folders_.ShowStoreFolder(&progcach_, StoreFolder::Programs); }
void HiddenStorePage::toutslectionner1Click() { SelectEvery(progcach_); }
void HiddenStorePage::outslectionner3Click() { SelectEvery(burcach_); }
void HiddenStorePage::Rtablir1Click() { RestorePrograms(false); }
void HiddenStorePage::Rtablir2Click() { RestoreDesktop(false); }

void HiddenStorePage::SpeedButton5Click() {
  // A missing store is told once for the whole command.
  const bool told = RestoreDesktop(false) == ShellFolders::MoveOutcome::FolderMissing;
  RestorePrograms(told);
}

bool HiddenStorePage::HasSelection() const {
  for (const TFileListView* view : {&burcach_, &progcach_})
    for (int row = 0, n = view->ItemCount(); row < n; ++row)
      if (view->IsSelected(row)) return true;
  return false;
}

void HiddenStorePage::RelistAfterRestore() {
  folders_.ShowShellFolder(folders_.View(L"bureauperso"), kCsidlDesktop);
  folders_.ShowStoreFolder(&burcach_, StoreFolder::Desktop);
  folders_.ShowShellFolder(folders_.View(L"progperso"), kCsidlPrograms);
  folders_.ShowStoreFolder(&progcach_, StoreFolder::Programs);
}

ShellFolders::MoveOutcome HiddenStorePage::RestorePrograms(bool quiet) {
  const auto outcome = folders_.MoveSelected(progcach_, folders_.StorePath(StoreFolder::Programs),
                                             folders_.FolderPath(ShellFolder::PersonalPrograms), ItemRule::Programs,
                                             quiet);
  folders_.ShowShellFolder(folders_.View(L"progperso"), kCsidlPrograms);
  folders_.ShowStoreFolder(&progcach_, StoreFolder::Programs);
  return outcome;
}

ShellFolders::MoveOutcome HiddenStorePage::RestoreDesktop(bool quiet) {
  const auto outcome = folders_.MoveSelected(burcach_, folders_.StorePath(StoreFolder::Desktop),
                                             folders_.FolderPath(ShellFolder::PersonalDesktop), ItemRule::Programs,
                                             quiet);
  // The personal desktop view of the shortcuts tab, not burperso.
  folders_.ShowShellFolder(folders_.View(L"bureauperso"), kCsidlDesktop);
  folders_.ShowStoreFolder(&burcach_, StoreFolder::Desktop);
  return outcome;
}

}  // namespace ferlane
