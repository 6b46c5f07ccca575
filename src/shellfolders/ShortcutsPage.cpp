#include "shellfolders/ShortcutsPage.h"

#include <algorithm>

#include "platform/Controls.h"
#include "resource.h"

namespace ferlane {
namespace {

constexpr int kRowSplitter = 16;
constexpr int kColumnSplitter = 3;
constexpr int kMinPane = 40;  // a splitter never closes a view completely

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
  for (int i = 0; i < 4; ++i) {
    panels_[i] = CreatePanel(host, kBoxes[i].panelId);
    folders_.SetPanel(kBoxes[i].folder, panels_[i]);
    folders_.CreateShellView(host, views_[i], kBoxes[i].view, nullptr);
  }
  // Created after the views, the boxes lie under them.
  for (int i = 0; i < 4; ++i) groups_[i] = CreateGroup(host, kBoxes[i].group, IDC_SHELL_GROUPS + i);
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

void ShortcutsPage::Layout(const RECT& area) {
  area_ = area;
  const int width = area.right - area.left, height = area.bottom - area.top;
  auto clampTo = [](int value, int room) { return std::clamp(value, kMinPane, std::max(kMinPane, room - kMinPane)); };
  lowerHeight_ = clampTo(lowerHeight_, height - kRowSplitter);
  upperLeft_ = clampTo(upperLeft_, width - kColumnSplitter);
  lowerLeft_ = clampTo(lowerLeft_, width - kColumnSplitter);
  const int lowerTop = area.bottom - lowerHeight_;
  const int upperBottom = lowerTop - kRowSplitter;
  const int upperSplit = area.left + upperLeft_, lowerSplit = area.left + lowerLeft_;
  const RECT boxes[4] = {
      {area.left, area.top, upperSplit, upperBottom},
      {upperSplit + kColumnSplitter, area.top, area.right, upperBottom},
      {area.left, lowerTop, lowerSplit, area.bottom},
      {lowerSplit + kColumnSplitter, lowerTop, area.right, area.bottom},
  };
  for (int i = 0; i < 4; ++i) PlaceGroup(groups_[i], panels_[i], views_[i].hwnd(), boxes[i]);
  MoveChild(rows_.hwnd(), area.left, upperBottom, width, kRowSplitter);
  MoveChild(upperColumns_.hwnd(), upperSplit, area.top, kColumnSplitter, upperBottom - area.top);
  MoveChild(lowerColumns_.hwnd(), lowerSplit, lowerTop, kColumnSplitter, lowerHeight_);
}

}  // namespace ferlane
