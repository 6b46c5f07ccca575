#include "settings/ExplorerSettingsPage.h"

#include <shlobj.h>

#include <iterator>
#include <vector>

#include "platform/Controls.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"
#include "platform/ProgramPath.h"
#include "platform/Registry.h"
#include "settings/logic/ExplorerSettings.h"

namespace ferlane {
namespace {

using Id = ExplorerSettingsPage::ControlId;

enum class Kind { Group, Check, Radio, Button };
struct ControlEntry {
  Id id;
  Kind kind;
  const wchar_t* caption;
};
// In tab order, which is also the order of the column from top to bottom.
constexpr ControlEntry kControls[] = {
    {Id::kGroupIcones, Kind::Group, L"&Icones du Bureau Administrateur"},
    {Id::kMesdocuments, Kind::Check, kDesktopIcons[0].caption},
    {Id::kPostedetravail, Kind::Check, kDesktopIcons[1].caption},
    {Id::kFavorisreseau, Kind::Check, kDesktopIcons[2].caption},
    {Id::kCorbeille, Kind::Check, kDesktopIcons[3].caption},
    {Id::kButton1, Kind::Button, L"&Appliquer"},
    {Id::kGroupDossiers, Kind::Group, L"&Gestion des dossiers cachés"},
    {Id::kMasque, Kind::Check, L"&Afficher les Dossiers cachés"},
    {Id::kButton2, Kind::Button, L"&Appliquer"},
    {Id::kBarre, Kind::Group, L"&Barre de tâches"},
    {Id::kBarreCacher, Kind::Radio, L"Cacher la barre de tâches"},
    {Id::kBarreMontrer, Kind::Radio, L"Montrer la barre de tâches"},
    {Id::kGroupActiver, Kind::Group, L"&Activer Ferlane"},
    {Id::kAuto, Kind::Check, L"&Au démarrage de Windows"},
    {Id::kButton3, Kind::Button, L"&Appliquer"},
};
constexpr Id kIconBoxes[] = {Id::kMesdocuments, Id::kPostedetravail, Id::kFavorisreseau, Id::kCorbeille};

// Pixels at 96 DPI, scaled for the screen.
constexpr int kMargin = 4;
constexpr int kGap = 6;
constexpr int kCaption = 18;  // a group box's top line
constexpr int kRow = 19;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

DWORD StyleOf(Kind kind, bool firstOfGroup) {
  const DWORD group = firstOfGroup ? WS_GROUP : 0;
  switch (kind) {
    case Kind::Group: return BS_GROUPBOX | WS_GROUP;
    case Kind::Check: return BS_AUTOCHECKBOX | WS_TABSTOP | group;
    // Checked by the page itself, so that neither item is selected at start
    // and a click always reaches BarreClick.
    case Kind::Radio: return BS_RADIOBUTTON | WS_TABSTOP | group;
    case Kind::Button: return BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP;
  }
  return 0;
}

const wchar_t* YesNo(bool on) { return on ? L"oui" : L"non"; }

// Explorer re-reads its settings when told: the desktop's icons on an
// association change, the hidden-file view on a settings change.
void TellTheShell() {
  ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ShellState"),
                        SMTO_ABORTIFHUNG | SMTO_NORMAL, 1000, &result);
}

}  // namespace

void ExplorerSettingsPage::Create(const PageHost& host) {
  host_ = host;
  Kind previous = Kind::Group;
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const auto& c = kControls[i];
    const bool first = c.kind != previous;
    // Group boxes are transparent so that the tab control beneath paints their inside.
    items_[i] = {c.id, CreateChild(host.window, host.instance, L"BUTTON", c.caption, StyleOf(c.kind, first),
                                   static_cast<int>(c.id), host.font,
                                   c.kind == Kind::Group ? WS_EX_TRANSPARENT : 0)};
    previous = c.kind;
  }
  lockedLine_ = CreateChild(host.window, host.instance, L"STATIC", L"R\u00E9gl\u00E9 par l'administrateur",
                            SS_LEFT | SS_NOPREFIX, 0, host.font);
  ApplyLock();
  // A group box lies under the controls it frames (a new child starts at the
  // bottom of its siblings), so that it never paints over them.
  for (const auto& item : items_)
    if (::GetWindowLongPtrW(item.hwnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT)
      ::SetWindowPos(item.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ExplorerSettingsPage::Show(bool visible) {
  visible_ = visible;
  for (const auto& item : items_) ::ShowWindow(item.hwnd, visible ? SW_SHOW : SW_HIDE);
  ::ShowWindow(lockedLine_, visible && locked_ ? SW_SHOW : SW_HIDE);
}

void ExplorerSettingsPage::SetLocked(bool locked) {
  locked_ = locked;
  ApplyLock();
}

void ExplorerSettingsPage::ApplyLock() {
  for (std::size_t i = 0; i < std::size(kControls); ++i)
    if (kControls[i].kind != Kind::Group && items_[i].hwnd) ::EnableWindow(items_[i].hwnd, !locked_);
  if (lockedLine_) ::ShowWindow(lockedLine_, visible_ && locked_ ? SW_SHOW : SW_HIDE);
}

void ExplorerSettingsPage::TabStops(std::vector<HWND>& order) const {
  // A group of option buttons is one stop, at its chosen button (the first
  // when none is chosen); the arrows move between its buttons.
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    if (kControls[i].kind == Kind::Radio) {
      const bool first = i == 0 || kControls[i - 1].kind != Kind::Radio;
      const bool checked = ::SendMessageW(items_[i].hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (!checked && !(first && BarreIndex() < 0)) continue;
    }
    order.push_back(items_[i].hwnd);
  }
}

void ExplorerSettingsPage::Layout(const RECT& area) {
  const Dpi& d = host_.dpi;
  const int left = area.left + d.Px(kMargin);
  const int width = area.right - area.left - 2 * d.Px(kMargin);
  const int inner = left + d.Px(8);
  const int innerWidth = width - d.Px(16);
  const int button = d.Px(kButtonWidth);
  int y = area.top + d.Px(kMargin);
  int boxTop = y;
  for (const auto& c : kControls) {
    HWND h = Control(c.id);
    switch (c.kind) {
      case Kind::Group:
        if (c.id != Id::kGroupIcones) y += d.Px(kGap);
        boxTop = y;
        y += d.Px(kCaption);
        break;
      case Kind::Check:
      case Kind::Radio:
        MoveChild(h, inner, y, innerWidth, d.Px(kRow - 2));
        y += d.Px(kRow);
        break;
      case Kind::Button:
        y += d.Px(4);
        MoveChild(h, left + width - d.Px(8) - button, y, button, d.Px(kButtonHeight));
        y += d.Px(kButtonHeight);
        break;
    }
    // A group box closes after its last control: the next group or the end.
    const auto* next = &c + 1;
    if (next == std::end(kControls) || next->kind == Kind::Group) {
      y += d.Px(8);
      const Id group = c.id <= Id::kButton1 ? Id::kGroupIcones
                       : c.id <= Id::kButton2 ? Id::kGroupDossiers
                       : c.id <= Id::kBarreMontrer ? Id::kBarre
                                                    : Id::kGroupActiver;
      MoveChild(Control(group), left, boxTop, width, y - boxTop);
    }
  }
  MoveChild(lockedLine_, left, y + d.Px(kGap), width, d.Px(kRow - 2));
}

bool ExplorerSettingsPage::OnCommand(UINT id) {
  // Locked, the settings' controls do nothing, whatever reaches them.
  if (locked_ && Control(id)) return true;
  switch (id) {
    case Id::kButton1: Button1Click(); return true;
    case Id::kButton2: Button2Click(); return true;
    case Id::kButton3: Button3Click(); return true;
    case Id::kBarreCacher:
    case Id::kBarreMontrer:
      SetChecked(Id::kBarreCacher, id == Id::kBarreCacher);
      SetChecked(Id::kBarreMontrer, id == Id::kBarreMontrer);
      BarreClick();
      return true;
    default:
      // The boxes act only through their "&Appliquer" button.
      for (const auto& item : items_)
        if (item.id == id) return true;
      return false;
  }
}

HWND ExplorerSettingsPage::Control(UINT id) const {
  for (const auto& item : items_)
    if (item.id == id) return item.hwnd;
  return nullptr;
}

bool ExplorerSettingsPage::IsChecked(UINT id) const {
  return ::SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ExplorerSettingsPage::SetChecked(UINT id, bool checked) {
  ::SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ExplorerSettingsPage::BarreIndex() const {
  if (IsChecked(Id::kBarreCacher)) return 0;
  if (IsChecked(Id::kBarreMontrer)) return 1;
  return -1;
}

void ExplorerSettingsPage::ReadExplorerSettings() {
  {
    RegistryKey run;
    if (run.Open(HKEY_LOCAL_MACHINE, kRunKey) == ERROR_SUCCESS && AutostartFromText(run.ReadString(kRunValue)))
      SetChecked(Id::kAuto, true);  // never unchecked here
  }
  {
    RegistryKey icons;
    if (icons.Open(HKEY_CURRENT_USER, kNewStartPanelKey) == ERROR_SUCCESS)
      for (std::size_t i = 0; i < std::size(kDesktopIcons); ++i)
        SetChecked(kIconBoxes[i], CheckedFromNumber(icons.ReadDword(kDesktopIcons[i].valueName)));
  }
  RegistryKey advanced;
  if (advanced.Open(HKEY_CURRENT_USER, kAdvancedKey) == ERROR_SUCCESS)
    SetChecked(Id::kMasque, CheckedFromNumber(advanced.ReadDword(kHiddenValue)));
}

bool ExplorerSettingsPage::OpenForApply(RegistryKey& key, SettingGroup group) const {
  const SettingKey where = KeyOf(group);
  // Never created: a Windows without the key does not know the setting.
  const LONG error = key.Open(where.root == SettingsRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                              where.path);
  if (error == ERROR_SUCCESS) return true;
  const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  ShowError(host_.window, KeyUnavailableText(group, missing, SystemErrorText(static_cast<DWORD>(error))));
  return false;
}

void ExplorerSettingsPage::RecordChange(const std::wstring& which, const std::wstring& value) const {
  Record(trail_, EventId::ShellSettingChanged, {which, value});
}

void ExplorerSettingsPage::Button1Click() {
  if (locked_) return;
  RegistryKey icons;
  if (!OpenForApply(icons, SettingGroup::DesktopIcons)) return;
  std::wstring applied;
  for (std::size_t i = 0; i < std::size(kDesktopIcons); ++i) {
    const wchar_t* name = kDesktopIcons[i].valueName;
    if (icons.WriteDword(name, DesktopIconNumber(IsChecked(kIconBoxes[i]))) != ERROR_SUCCESS) {
      ShowError(host_.window, WriteRefusedText(name));
      return;
    }
    applied += (i ? L" ; " : L"") + std::wstring(kDesktopIcons[i].caption) + L" : " + YesNo(IsChecked(kIconBoxes[i]));
  }
  TellTheShell();
  RecordChange(KeyOf(SettingGroup::DesktopIcons).setting, applied);
}

void ExplorerSettingsPage::Button2Click() {
  if (locked_) return;
  RegistryKey advanced;
  if (!OpenForApply(advanced, SettingGroup::HiddenFiles)) return;
  if (advanced.WriteDword(kHiddenValue, HiddenNumber(IsChecked(Id::kMasque))) != ERROR_SUCCESS) {
    ShowError(host_.window, WriteRefusedText(kHiddenValue));
    return;
  }
  TellTheShell();
  RecordChange(KeyOf(SettingGroup::HiddenFiles).setting, YesNo(IsChecked(Id::kMasque)));
}

void ExplorerSettingsPage::Button3Click() {
  if (locked_) return;
  {
    RegistryKey run;  // closed to a user without administrator rights
    if (!OpenForApply(run, SettingGroup::Autostart)) return;
  }
  // Windows reads the Run key at the next logon: there is nobody to tell.
  const bool autostart = IsChecked(Id::kAuto);
  // Written quoted, over an earlier version's unquoted value too.
  if (SetRunValue(RunValueText(ProgramPath()), kRunValue, autostart) != ERROR_SUCCESS) {
    ShowError(host_.window, WriteRefusedText(kRunValue));
    return;
  }
  RecordChange(KeyOf(SettingGroup::Autostart).setting,
               autostart ? std::wstring(L"oui : ") + ProgramPath() : std::wstring(L"non"));
}

LONG ExplorerSettingsPage::SetRunValue(const std::wstring& data, const std::wstring& name, bool write) {
  RegistryKey run;
  if (run.Open(HKEY_LOCAL_MACHINE, kRunKey) != ERROR_SUCCESS) return ERROR_SUCCESS;  // silently not written
  if (!write) {
    run.DeleteValue(name);  // an absent value is no error
    return ERROR_SUCCESS;
  }
  return run.WriteString(name, data);
}

namespace {

// A named callback: on 32-bit Windows it must be __stdcall.
BOOL CALLBACK CollectTaskbar(HWND window, LPARAM found) {
  wchar_t name[64] = {};
  if (::GetClassNameW(window, name, 64) && IsTaskbarClass(name))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TaskbarWindows() {
  // Windows 8 and later give each further monitor a taskbar of its own; hidden
  // ones are listed too, so that "show" finds them again.
  std::vector<HWND> found;
  ::EnumWindows(CollectTaskbar, reinterpret_cast<LPARAM>(&found));
  return found;
}

void ExplorerSettingsPage::BarreClick() {
  if (locked_) return;
  const TaskbarAction action = TaskbarActionFor(BarreIndex());
  if (action == TaskbarAction::None) return;
  for (HWND tray : TaskbarWindows()) ::ShowWindow(tray, action == TaskbarAction::Hide ? SW_HIDE : SW_SHOW);
  RecordChange(L"Barre de t\u00E2ches", action == TaskbarAction::Hide ? L"cach\u00E9e" : L"montr\u00E9e");
}

}  // namespace ferlane
