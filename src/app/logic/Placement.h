#pragma once
// Window placement values as stored under the settings key: decimal text.
#include <optional>
#include <string>

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

}  // namespace ferlane
