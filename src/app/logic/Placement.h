#pragma once
// Window placement values as stored under the settings key: decimal text.
#include <optional>
#include <string>
#include <vector>

namespace ferlane {

// A decimal integer with an optional sign and nothing else (no blanks, no
// hex), within the range of int; nullopt for any other text.
std::optional<int> ParseDecimalInt(const std::wstring& text);

struct WindowBounds {
  int left = 0, top = 0, width = 623, height = 519;
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

// Below this a window has no room for its tabs and lists.
inline constexpr int kMinUsableWidth = 200;
inline constexpr int kMinUsableHeight = 150;

// Usable: at least the minimum size, and at least half of the window inside
// one work area, so that the user can reach and move it. With no work area
// known only the size counts.
bool IsUsablePlacement(const WindowBounds& bounds, const std::vector<WorkArea>& workAreas);
// bounds when usable, otherwise the design placement (0, 0, 623 x 519).
WindowBounds UsablePlacement(const WindowBounds& bounds, const std::vector<WorkArea>& workAreas);

}  // namespace ferlane
