#pragma once
// Left column of tab 3: the Explorer, taskbar and autostart settings. Its
// controls are children of the main window; the page owns their layout and
// their commands. Every key is opened for one command and closed before it ends.
#include <string>
#include <vector>

#include "platform/EventTrail.h"
#include "platform/Registry.h"
#include "platform/TabPage.h"
#include "settings/logic/ExplorerSettings.h"

namespace ferlane {

// Every taskbar window of the session: the main one and each monitor's own,
// visible or not.
std::vector<HWND> TaskbarWindows();

class ExplorerSettingsPage : public ITabPage {
 public:
  // Control ids (their notifications reach the main window, which passes them on).
  enum ControlId : UINT {
    kGroupIcones = 3000,
    kMesdocuments,
    kPostedetravail,
    kFavorisreseau,
    kCorbeille,
    kButton1,
    kGroupDossiers,
    kMasque,
    kButton2,
    kBarre,       // the radio group's frame
    kBarreCacher,  // item 0
    kBarreMontrer,  // item 1
    kGroupActiver,
    kAuto,
    kButton3,
  };

  void Create(const PageHost& host) override;
  void Show(bool visible) override;
  void Layout(const RECT& area) override;
  void TabStops(std::vector<HWND>& order) const override;
  bool OnCommand(UINT id) override;

  HWND Control(UINT id) const;
  // Set by the administrator's policy: the four settings are shown but
  // cannot be changed, and a line under them says why.
  void SetLocked(bool locked);
  bool Locked() const { return locked_; }
  HWND LockedLine() const { return lockedLine_; }
  bool IsChecked(UINT id) const;
  void SetChecked(UINT id, bool checked);
  // The selected item of "&Barre de tâches": 0, 1, or -1 for none.
  int BarreIndex() const;

  // First showing: the boxes from the registry.
  void ReadExplorerSettings();
  void Button1Click();  // "&Appliquer" of "&Icones du Bureau Administrateur"
  void Button2Click();  // "&Appliquer" of "&Gestion des dossiers cachés"
  void Button3Click();  // "&Appliquer" of "&Activer Ferlane"
  void BarreClick();    // a click in "&Barre de tâches"
  // Writes (write=true) or deletes the autostart value `name`; returns the
  // registry's answer to the write (a deletion always counts as done).
  LONG SetRunValue(const std::wstring& data, const std::wstring& name, bool write);
  // Where each setting applied writes its event (which, new value); none by default.
  void SetEventTrail(IEventTrail* trail) { trail_ = trail; }

 private:
  // Opens the key of a setting for its "&Appliquer"; a key that cannot be
  // opened is told, with the setting and why.
  bool OpenForApply(RegistryKey& key, SettingGroup group) const;
  struct Item {
    UINT id;
    HWND hwnd;
  };
  void RecordChange(const std::wstring& which, const std::wstring& value) const;
  PageHost host_;
  Item items_[15] = {};
  IEventTrail* trail_ = nullptr;
  // Enables the boxes and buttons unless locked, and shows the line if so.
  void ApplyLock();
  bool locked_ = false;
  bool visible_ = false;
  HWND lockedLine_ = nullptr;
};

}  // namespace ferlane
