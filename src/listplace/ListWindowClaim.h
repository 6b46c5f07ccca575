#pragma once
// One window per user's list file: a second window would write its own rows
// over the first one's at close. The window claims its list file before it
// shows anything; a second start finds the claim, brings the first window to
// the front and ends. The command line claims nothing.
//
// The claim is a named mutex in the machine-wide namespace, so a window of
// another session counts too. Any local user may make such a name, so the
// window's name is owned by its user and opens only to that user, SYSTEM and
// the Administrators, and a name someone else owns is ignored (JudgeClaim).
#include <windows.h>

#include <optional>
#include <string>

#include "listplace/logic/ListWindow.h"
#include "platform/UniqueHandle.h"

namespace ferlane {

class ListWindowClaim {
 public:
  // With a limited token (a UAC administrator before elevation) the claim is
  // only looked at, never made: the elevated copy must find it free.
  explicit ListWindowClaim(const std::wstring& listFile);
  ClaimVerdict Verdict() const { return verdict_; }
  // True when this start may open its window (the claim is its own, or none
  // can be had).
  bool MayOpen() const { return MayOpenWindow(verdict_); }
  // True when a window of this user holds the list file already. The handle
  // a taken claim opened is closed at once, so the name goes with its holder.
  bool Taken() const { return verdict_ == ClaimVerdict::Taken; }
  // True when a limited start was refused the name (ClaimVerdict::Refused).
  bool Refused() const { return verdict_ == ClaimVerdict::Refused; }
  // The mutex's name, for the tests.
  const std::wstring& Name() const { return name_; }
  // The name a claim on `listFile` takes now.
  static std::wstring NameOf(const std::wstring& listFile);
  // Marks `window` as the one that holds the list file, for a second start.
  // A window may hold the marks of two claims.
  void Mark(HWND window) const;
  // Takes every mark off `window`, before it goes.
  static void Unmark(HWND window);
  // Brings the window that holds the list file to the front, restored if
  // minimised, waiting up to waitMs for it to appear; false when none is found
  // (another session's window cannot be reached).
  bool BringHolderToFront(DWORD waitMs) const;

 private:
  class PrivateObjectRights;
  void Claim(bool openOnly);

  UniqueKernelHandle mutex_;
  std::wstring name_;
  UINT_PTR mark_ = 0;
  ClaimVerdict verdict_ = ClaimVerdict::NoClaim;
};

// A list whose folder did not exist at the start (the first start under an
// administrator's folder for the lists) was claimed by its path; once the
// window made the folder, a second start knows the list by the folder's
// identity. The window then holds that claim too, marked on `window`;
// nothing when the name did not change or is held elsewhere.
std::optional<ListWindowClaim> ClaimUnderMadeFolder(const ListWindowClaim& claim, const std::wstring& listFile,
                                                    HWND window);

}  // namespace ferlane
