#include "app/logic/Placement.h"

#include <climits>

namespace ferlane {

std::optional<int> ParseDecimalInt(const std::wstring& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT_MIN || value > INT_MAX) return std::nullopt;
  return static_cast<int>(value);
}

void ApplyPlacementTexts(WindowBounds& bounds, const std::optional<std::wstring> (&texts)[4]) {
  int* fields[4] = {&bounds.left, &bounds.top, &bounds.width, &bounds.height};
  for (int i = 0; i < 4; ++i) {
    if (!texts[i] || texts[i]->empty()) continue;
    if (auto v = ParseDecimalInt(*texts[i])) *fields[i] = *v;
  }
}

}  // namespace ferlane
