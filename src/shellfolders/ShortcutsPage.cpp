#include "shellfolders/ShortcutsPage.h"

#include <algorithm>

#include "platform/Controls.h"
#include "resource.h"

namespace ferlane {
namespace {

// Pixels at 96 DPI, scaled for the screen.
constexpr int kRowSplitter = 16;
constexpr int kColumnSplitter = 3;
constexpr int kMinPane = 40;  // a splitter never closes a view completely
constexpr int kUpperLeft = 289, kLowerLeft = 291, kLowerHeight = 183;  // the splitters at first

struct Box {
  const wchar_t* group;
  ShellFolder folder;
  int panelId;
  ShellViewSetup view;
};
constexpr Box kBoxes[4] = {
    {L"&Programmes Communs", ShellFolder::CommonPrograms, IDC_PANEL8,
     {L"programmescommuns", IDC_PROGRAMMESCOMMUNS, true, false, L" ..",
      L"Faites Glisser les icones dans la fenêtre de droite pour déplacer les programmes du menu <Démarrer>"}},
    {L"&Programmes Personnels", ShellFolder::PersonalPrograms, IDC_PANEL9,
     {L"programmesperso", IDC_PROGRAMMESPERSO, true, false, L" ..",
      L"Faites Glisser les icones dans la fenêtre de gauche pour déplacer les programmes du menu <Démarrer>"}},
    {L"&Bureau Commun", ShellFolder::CommonDesktop, IDC_PANEL10,
     {L"bureaucommun", IDC_BUREAUCOMMUN, false, true, L" Parent",
      L"Faites glisser les icones dans la fenêtre de droite pour déplacer les raccourcis"}},
    {L"&Bureau Personnel", ShellFolder::PersonalDesktop, IDC_PANEL11,
     {L"bureauperso", IDC_BUREAUPERSO, false, true, L" Parent",
      L"Faites Glisser les icones dans la fenêtre de gauche pour déplacer les raccourcis"}},
};

}  // namespace

void ShortcutsPage::Create(const PageHost& host) {
  dpi_ = host.dpi;
  upperLeft_ = dpi_.Px(kUpperLeft);
  lowerLeft_ = dpi_.Px(kLowerLeft);
  lowerHeight_ = dpi_.Px(kLowerHeight);
  for (int i = 0; i < 4; ++i) {
    panels_[i] = CreatePanel(host, kBoxes[i].panelId);
    folders_.SetPanel(kBoxes[i].folder, panels_[i]);
    folders_.CreateShellView(host, views_[i], kBoxes[i].view, nullptr);
  }
  // Created after the views, the boxes lie under them.
  for (int i = 0; i < 4; ++i) {
    groups_[i] = CreateGroup(host, kBoxes[i].group, IDC_SHELL_GROUPS + i);
    SetAccessibleName(views_[i].ListHwnd(), kBoxes[i].group);
  }
  rows_.Create(host.window, host.instance, IDC_SHELL_SPLITTERS, SplitterBar::Axis::Rows);
  upperColumns_.Create(host.window, host.instance, IDC_SHELL_SPLITTERS + 1, SplitterBar::Axis::Columns);
  lowerColumns_.Create(host.window, host.instance, IDC_SHELL_SPLITTERS + 2, SplitterBar::Axis::Columns);
  rows_.OnMoved = [this](int d) { lowerHeight_ -= d; Layout(area_); };
  upperColumns_.OnMoved = [this](int d) { upperLeft_ += d; Layout(area_); };
  lowerColumns_.OnMoved = [this](int d) { lowerLeft_ += d; Layout(area_); };
}

void ShortcutsPage::Show(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (int i = 0; i < 4; ++i)
    for (HWND h : {groups_[i], panels_[i], views_[i].hwnd()}) ::ShowWindow(h, show);
  for (HWND h : {rows_.hwnd(), upperColumns_.hwnd(), lowerColumns_.hwnd()}) ::ShowWindow(h, show);
}

void ShortcutsPage::TabStops(std::vector<HWND>& order) const {
  for (int i = 0; i < 4; ++i) {
    order.push_back(groups_[i]);
    order.push_back(views_[i].hwnd());
  }
}

void ShortcutsPage::Layout(const RECT& area) {
  area_ = area;
  const int width = area.right - area.left, height = area.bottom - area.top;
  const int minPane = dpi_.Px(kMinPane), rowSplitter = dpi_.Px(kRowSplitter);
  const int columnSplitter = dpi_.Px(kColumnSplitter);
  auto clampTo = [&](int value, int room) { return std::clamp(value, minPane, std::max(minPane, room - minPane)); };
  lowerHeight_ = clampTo(lowerHeight_, height - rowSplitter);
  upperLeft_ = clampTo(upperLeft_, width - columnSplitter);
  lowerLeft_ = clampTo(lowerLeft_, width - columnSplitter);
  const int lowerTop = area.bottom - lowerHeight_;
  const int upperBottom = lowerTop - rowSplitter;
  const int upperSplit = area.left + upperLeft_, lowerSplit = area.left + lowerLeft_;
  const RECT boxes[4] = {
      {area.left, area.top, upperSplit, upperBottom},
      {upperSplit + columnSplitter, area.top, area.right, upperBottom},
      {area.left, lowerTop, lowerSplit, area.bottom},
      {lowerSplit + columnSplitter, lowerTop, area.right, area.bottom},
  };
  for (int i = 0; i < 4; ++i) PlaceGroup(groups_[i], panels_[i], views_[i].hwnd(), boxes[i], dpi_);
  MoveChild(rows_.hwnd(), area.left, upperBottom, width, rowSplitter);
  MoveChild(upperColumns_.hwnd(), upperSplit, area.top, columnSplitter, upperBottom - area.top);
  MoveChild(lowerColumns_.hwnd(), lowerSplit, lowerTop, columnSplitter, lowerHeight_);
}

}  // namespace ferlane
