#pragma once
// The shell settings of the special-operations tab as data: where each box is
// stored, and how a stored value reads back into a box. No <windows.h> here.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferlane {

enum class SettingsRoot { CurrentUser, LocalMachine };

constexpr wchar_t kNewStartPanelKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
constexpr wchar_t kAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kHiddenValue[] = L"Hidden";
constexpr wchar_t kRunValue[] = L"Ferlane";

// One desktop-icon box: its control name, caption and the shell class
// identifier of the desktop item it hides, in the order the boxes are applied.
struct DesktopIconSetting {
  const wchar_t* control;
  const wchar_t* caption;
  const wchar_t* valueName;
};
constexpr DesktopIconSetting kDesktopIcons[] = {
    {L"mesdocuments", L"Cacher Mes Documents", L"{450D8FBA-AD25-11D0-98A8-0800361B1103}"},
    {L"postedetravail", L"Cacher Poste de Travail", L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
    {L"favorisreseau", L"Cacher Favoris Réseau", L"{208D2C60-3AEA-1069-A2D7-08002B30309D}"},
    {L"Corbeille", L"Cacher la Corbeille", L"{645FF040-5081-101B-9F08-00AA002F954E}"},
};

// A stored number checks its box only when it is exactly 1; absent or
// wrong-typed values (nullopt) read as unchecked.
inline bool CheckedFromNumber(std::optional<std::uint32_t> stored) { return stored && *stored == 1; }
// "Hidden": 1 shows hidden files, 2 hides them.
inline std::uint32_t HiddenNumber(bool showHidden) { return showHidden ? 1u : 2u; }
inline std::uint32_t DesktopIconNumber(bool hide) { return hide ? 1u : 0u; }
// The autostart box is only ever checked by a non-empty text.
inline bool AutostartFromText(const std::optional<std::wstring>& stored) { return stored && !stored->empty(); }
// The autostart value: the program's path quoted. Unquoted, Windows tries
// "C:\Program.exe" first for "C:\Program Files\...", at every user's logon.
inline std::wstring RunValueText(std::wstring_view program) { return L"\"" + std::wstring(program) + L"\""; }

// What a click in the radio group "&Barre de tâches" does to the taskbar.
enum class TaskbarAction { None, Hide, Show };
inline TaskbarAction TaskbarActionFor(int selectedItem) {
  switch (selectedItem) {
    case 0: return TaskbarAction::Hide;
    case 1: return TaskbarAction::Show;
    default: return TaskbarAction::None;
  }
}

// The window classes of the taskbars: "Shell_TrayWnd" on the main monitor,
// "Shell_SecondaryTrayWnd" on each further monitor (Windows 8 and later).
inline bool IsTaskbarClass(std::wstring_view windowClass) {
  return windowClass == L"Shell_TrayWnd" || windowClass == L"Shell_SecondaryTrayWnd";
}

// "Echec à la définition des données pour '%s'" with the value's name.
std::wstring WriteRefusedText(const std::wstring& valueName);

// The three settings an "&Appliquer" writes, each under one key.
enum class SettingGroup { DesktopIcons, HiddenFiles, Autostart };
struct SettingKey {
  SettingsRoot root;
  const wchar_t* path;
  const wchar_t* setting;  // as the user knows it: its group's caption
};
SettingKey KeyOf(SettingGroup group);
// Said when "&Appliquer" cannot open its key: the key is missing (keys are
// never created: that Windows does not know the setting) or closed to this
// user, with the system's reason. Nothing of the setting was written.
std::wstring KeyUnavailableText(SettingGroup group, bool keyMissing, const std::wstring& reason);

}  // namespace ferlane
