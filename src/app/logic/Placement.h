#pragma once
// Window placement values as stored under the settings key: decimal text.
#include <optional>
#include <string>
#include <vector>

#include "platform/logic/Dpi.h"

namespace ferlane {

// A decimal integer with an optional sign and nothing else (no blanks, no
// hex), within the range of int; nullopt for any other text.
std::optional<int> ParseDecimalInt(const std::wstring& text);

// The window's design size, in pixels at 96 DPI.
inline constexpr int kDesignWidth = 623;
inline constexpr int kDesignHeight = 519;

struct WindowBounds {
  int left = 0, top = 0, width = kDesignWidth, height = kDesignHeight;
};

// The placement values in their stored order.
inline constexpr const wchar_t* kPlacementNames[4] = {L"Position horizontale", L"Position verticale", L"Largeur",
                                                      L"Hauteur"};

// Applies the stored texts (index as kPlacementNames; nullopt = absent or
// unreadable) to bounds: an empty or malformed text leaves its coordinate as is.
void ApplyPlacementTexts(WindowBounds& bounds, const std::optional<std::wstring> (&texts)[4]);

// A monitor's work area (the screen less the taskbar), right and bottom excluded.
struct WorkArea {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Below this (at 96 DPI; scaled for the screen) a window has no room for its
// tabs and lists.
inline constexpr int kMinUsableWidth = 200;
inline constexpr int kMinUsableHeight = 150;

// The design placement on a screen of `dpi`: at 0, 0, the design size scaled,
// but no larger than the work area there (a large DPI on a small screen) and
// never below the minimum usable size.
WindowBounds DesignPlacement(int dpi, const std::vector<WorkArea>& workAreas);

// Usable: at least the minimum size for the screen's DPI, and at least half of
// the window inside one work area, so that the user can reach and move it.
// With no work area known only the size counts. The stored values carry no
// DPI: a placement written at another DPI is judged like any other.
bool IsUsablePlacement(const WindowBounds& bounds, const std::vector<WorkArea>& workAreas, int dpi = kDesignDpi);
// bounds when usable, otherwise the design placement.
WindowBounds UsablePlacement(const WindowBounds& bounds, const std::vector<WorkArea>& workAreas,
                             int dpi = kDesignDpi);

}  // namespace ferlane
