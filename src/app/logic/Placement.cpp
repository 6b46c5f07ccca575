#include "app/logic/Placement.h"

#include <algorithm>
#include <climits>
#include <cstdint>

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

WindowBounds DesignPlacement(int dpi, const std::vector<WorkArea>& workAreas) {
  WindowBounds b{0, 0, ScaleForDpi(kDesignWidth, dpi), ScaleForDpi(kDesignHeight, dpi)};
  for (const auto& w : workAreas)
    if (w.left <= 0 && w.top <= 0 && w.right > 0 && w.bottom > 0) {
      // Never below the size the tabs and lists need, even on a tiny screen.
      b.width = std::max(std::min(b.width, w.right), ScaleForDpi(kMinUsableWidth, dpi));
      b.height = std::max(std::min(b.height, w.bottom), ScaleForDpi(kMinUsableHeight, dpi));
      break;
    }
  return b;
}

bool IsUsablePlacement(const WindowBounds& b, const std::vector<WorkArea>& workAreas, int dpi) {
  if (b.width < ScaleForDpi(kMinUsableWidth, dpi) || b.height < ScaleForDpi(kMinUsableHeight, dpi)) return false;
  // In 64 bits: a stored left of INT_MAX plus the width must not wrap.
  const std::int64_t left = b.left, top = b.top, right = left + b.width, bottom = top + b.height;
  if (workAreas.empty()) return right <= INT_MAX && bottom <= INT_MAX;
  const std::int64_t area = static_cast<std::int64_t>(b.width) * b.height;
  for (const auto& w : workAreas) {
    const std::int64_t x = std::min<std::int64_t>(right, w.right) - std::max<std::int64_t>(left, w.left);
    const std::int64_t y = std::min<std::int64_t>(bottom, w.bottom) - std::max<std::int64_t>(top, w.top);
    if (x > 0 && y > 0 && x * y * 2 >= area) return true;
  }
  return false;
}

WindowBounds UsablePlacement(const WindowBounds& bounds, const std::vector<WorkArea>& workAreas, int dpi) {
  return IsUsablePlacement(bounds, workAreas, dpi) ? bounds : DesignPlacement(dpi, workAreas);
}

}  // namespace ferlane
