#pragma once
// Everything the hidden store holds, put back: what /retablir does, and the
// window's "Rétablir le bureau et les programmes" when nothing is selected.
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "commandline/logic/CommandLine.h"
#include "platform/EventTrail.h"
#include "shellfolders/HiddenStore.h"

namespace ferlane {

struct WholeStoreRestore {
  // One per store folder, the desktop first.
  std::vector<StoreOutcome> outcomes;
  // A store folder that could not be read, and why: then nothing moved.
  std::wstring unreadable;
  DWORD error = ERROR_SUCCESS;
};
// Reads both store folders, then moves each item the item rule takes into
// destinations[i] (the user's desktop, then programs), never over a name the
// destination holds; what stays is named in the outcomes.
WholeStoreRestore RestoreWholeStore(const StorePaths& store, const std::array<std::wstring, 2>& destinations);

// The same restore asked what it would do, nothing made or moved: each item
// of the store, and of the older stores that would join it first, as
// restored, left for a taken name (`nameTaken`; an older store's in
// `stranded`) or kept by the item rule. For /retablir /essai.
WholeStoreRestore WholeStoreTrial(const StorePaths& store, const std::wstring& roleLabel,
                                  const std::array<std::wstring, 2>& destinations);

// The whole restore's one event, for both store folders, when it concerned
// anything; `trail` may be absent.
void RecordWholeRestore(IEventTrail* trail, const StorePaths& store, const std::vector<StoreOutcome>& outcomes,
                        const Report& report);

}  // namespace ferlane
