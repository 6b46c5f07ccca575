#include "shellfolders/PersonalItemsPage.h"

#include <algorithm>

#include "platform/Controls.h"
#include "picture_numbers.h"
#include "resource.h"

namespace ferlane {
namespace {

// Pixels at 96 DPI, scaled for the screen.
constexpr int kSplitter = 16;
constexpr int kMinPane = 40;
constexpr int kProgramsHeight = 178;  // the splitter at first

constexpr ShellViewSetup kProgperso{L"progperso", IDC_PROGPERSO, true, false, L" Parent", L"Clic gauche:menu"};
constexpr ShellViewSetup kBurperso{L"burperso", IDC_BURPERSO, false, true, L" Parent", L"Clic gauche:menu"};

constexpr PageMenuEntry kOpspepro[] = {
    {L"Tout Sélectionner", IDM_OPSPEPRO_TOUT_SELECTIONNER, kPicSelectAll},
    {nullptr, 0, -1},
    {L"&Cacher", IDM_OPSPEPRO_CACHER, kPicHide},
};
constexpr PageMenuEntry kOpspebur[] = {
    {L"&Tout sélectionner", IDM_OPSPEBUR_TOUT_SELECTIONNER, kPicSelectAll},
    {L"&Cacher", IDM_OPSPEBUR_CACHER, kPicHide},
};

void SelectEvery(TFileListView& view) {
  for (int row = 0, n = view.ItemCount(); row < n; ++row) view.SetSelected(row, true);
}

}  // namespace

void PersonalItemsPage::Create(const PageHost& host) {
  dpi_ = host.dpi;
  programsHeight_ = dpi_.Px(kProgramsHeight);
  opspepro_.reset(BuildPageMenu(kOpspepro));
  opspebur_.reset(BuildPageMenu(kOpspebur));
  folders_.CreateShellView(host, progperso_, kProgperso, opspepro_.get());
  folders_.CreateShellView(host, burperso_, kBurperso, opspebur_.get());
  // Created last, the boxes lie under the views and the splitter they frame.
  splitter_.Create(host.window, host.instance, IDC_SHELL_SPLITTERS + 3, SplitterBar::Axis::Rows);
  progGroup_ = CreateGroup(host, L"&Programmes personnels", IDC_SHELL_GROUPS + 4);
  burGroup_ = CreateGroup(host, L"&Bureau personnel", IDC_SHELL_GROUPS + 5);
  outer_ = CreateGroup(host, L"Affichage des icones et &raccourcis personnels", IDC_SHELL_GROUPS + 6);
  SetAccessibleName(progperso_.ListHwnd(), L"&Programmes personnels");
  SetAccessibleName(burperso_.ListHwnd(), L"&Bureau personnel");
  splitter_.OnMoved = [this](int d) {
    programsHeight_ += d;
    Layout(area_);
  };
}

void PersonalItemsPage::Show(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND h : {outer_, progGroup_, burGroup_, progperso_.hwnd(), burperso_.hwnd(), splitter_.hwnd()})
    ::ShowWindow(h, show);
}

void PersonalItemsPage::TabStops(std::vector<HWND>& order) const {
  for (HWND h : {outer_, progGroup_, progperso_.hwnd(), burGroup_, burperso_.hwnd()}) order.push_back(h);
}

void PersonalItemsPage::Layout(const RECT& area) {
  area_ = area;
  MoveChild(outer_, area.left, area.top, area.right - area.left, area.bottom - area.top);
  const int side = dpi_.Px(6), splitter = dpi_.Px(kSplitter), minPane = dpi_.Px(kMinPane);
  const RECT inner{area.left + side, area.top + dpi_.Px(16), area.right - side, area.bottom - side};
  const int room = inner.bottom - inner.top - splitter;
  programsHeight_ = std::clamp(programsHeight_, minPane, std::max(minPane, room - minPane));
  const int split = inner.top + programsHeight_;
  PlaceGroup(progGroup_, nullptr, progperso_.hwnd(), RECT{inner.left, inner.top, inner.right, split}, dpi_);
  MoveChild(splitter_.hwnd(), inner.left, split, inner.right - inner.left, splitter);
  PlaceGroup(burGroup_, nullptr, burperso_.hwnd(), RECT{inner.left, split + splitter, inner.right, inner.bottom},
             dpi_);
}

bool PersonalItemsPage::OnCommand(UINT id) {
  switch (id) {
    case IDM_OPSPEPRO_TOUT_SELECTIONNER: outSlectionner1Click(); return true;
    case IDM_OPSPEPRO_CACHER: Attribut1Click(); return true;
    case IDM_OPSPEBUR_TOUT_SELECTIONNER: outslectionner2Click(); return true;
    case IDM_OPSPEBUR_CACHER: Attribut2Click(); return true;
    default: return false;
  }
}

void PersonalItemsPage::outSlectionner1Click() { SelectEvery(progperso_); }

// Chosen like its three siblings: every item of its own view.
void PersonalItemsPage::outslectionner2Click() { SelectEvery(burperso_); }

void PersonalItemsPage::Attribut1Click() {
  folders_.MakeHiddenStore();  // deleted meanwhile, it is made again
  folders_.MoveSelected(progperso_, folders_.FolderPath(ShellFolder::PersonalPrograms),
                        folders_.StorePath(StoreFolder::Programs), ItemRule::Programs);
  folders_.ShowShellFolder(&progperso_, kCsidlPrograms);
  folders_.ShowStoreFolder(folders_.View(L"progcach"), StoreFolder::Programs);
}

void PersonalItemsPage::Attribut2Click() {
  folders_.MakeHiddenStore();
  folders_.MoveSelected(burperso_, folders_.FolderPath(ShellFolder::PersonalDesktop),
                        folders_.StorePath(StoreFolder::Desktop), ItemRule::Programs);
  folders_.ShowShellFolder(&burperso_, kCsidlDesktop);
  folders_.ShowStoreFolder(folders_.View(L"burcach"), StoreFolder::Desktop);
}

}  // namespace ferlane
