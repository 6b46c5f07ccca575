#include "browse/logic/FileListFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "browse/logic/PathOps.h"

namespace ferlane {
namespace {

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 0x20) : c; }

bool EndsWithIgnoreCase(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && SameTextIgnoreCase(text.substr(text.size() - tail.size()), tail);
}

std::wstring Digits(std::uint64_t v) { return std::to_wstring(v); }

std::wstring Padded(int v, std::size_t width) {
  std::wstring s = std::to_wstring(v < 0 ? 0 : v);
  if (s.size() < width) s.insert(0, width - s.size(), L'0');
  return s;
}

// Whether "AM/PM" (any letter case) starts at i.
bool IsAmPmAt(const std::wstring& p, std::size_t i) {
  static const wchar_t kAmPm[] = L"AM/PM";
  for (std::size_t k = 0; k < 5; ++k)
    if (i + k >= p.size() || AsciiUpper(p[i + k]) != kAmPm[k]) return false;
  return true;
}

// Whether an "AM/PM" marker follows position i outside quoted text: the
// hour before it is then on the 12-hour clock.
bool AmPmFollows(const std::wstring& p, std::size_t i) {
  wchar_t quote = 0;
  for (; i < p.size(); ++i) {
    if (quote) {
      if (p[i] == quote) quote = 0;
    } else if (p[i] == L'"' || p[i] == L'\'') {
      quote = p[i];
    } else if (IsAmPmAt(p, i)) {
      return true;
    }
  }
  return false;
}

}  // namespace

unsigned AttributeMask(TFileAttrs set) {
  static constexpr unsigned kBits[] = {kAttrReadOnly, kAttrHidden, kAttrSystem, kAttrArchive, kAttrNormal};
  unsigned mask = 0;
  for (int m = ftReadOnly; m <= ftNormal; ++m)
    if (set & (1u << m)) mask |= kBits[m];
  return mask;
}

std::vector<std::wstring> SplitMask(const std::wstring& mask) {
  std::wstring patterns = Trim(mask);
  if (patterns.empty()) patterns = L"*.*";
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    std::size_t semi = patterns.find(L';', start);
    std::wstring part = patterns.substr(start, semi == std::wstring::npos ? std::wstring::npos : semi - start);
    if (!part.empty()) parts.push_back(part);
    if (semi == std::wstring::npos) break;
    start = semi + 1;
  }
  return parts;
}

bool AdmitEntry(unsigned attributes, unsigned mask) {
  if ((attributes & kAttrDirectory) != (mask & kAttrDirectory)) return false;
  for (unsigned bit : {kAttrReadOnly, kAttrHidden, kAttrSystem})
    if ((attributes & bit) && !(mask & bit)) return false;
  return true;
}

bool SkipEntryName(std::wstring_view name, bool parentDirEnabled, bool driveRoot) {
  if (name == L".") return true;
  if (name == L"..") return !parentDirEnabled || driveRoot;
  return false;
}

std::wstring CaptionOf(const std::wstring& name, bool hideExt) {
  if (!hideExt) return name;
  std::size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

std::wstring RenameTarget(const std::wstring& oldPath, const std::wstring& newText, bool hideExt) {
  std::wstring target = ExtractFilePath(oldPath) + newText;
  if (hideExt) {
    std::wstring ext = ExtractFileExt(ExtractFileName(oldPath));
    if (!ext.empty() && !EndsWithIgnoreCase(newText, ext)) target += ext;
  }
  return target;
}

std::uint64_t KBCount(std::uint64_t size) {
  if (size >= 1 && size <= 1023) return 1;
  return size / 1024;
}

std::wstring SizeInKBText(std::uint64_t size, const std::wstring& kind) {
  if (SameTextIgnoreCase(kind, L"dir")) return L" ";
  return Digits(KBCount(size)) + L" KB";
}

std::wstring SizeText(std::uint64_t size, const std::wstring& kind, TFileSize unit) {
  if (unit == fsKB) return SizeInKBText(size, kind);
  return SameTextIgnoreCase(kind, L"dir") ? std::wstring(L" ") : Digits(size);
}

std::wstring DriveSizeText(std::int64_t kb, const std::wstring& thousandSep) {
  if (kb <= 0) return L"0 Mb";
  const std::uint64_t mb = static_cast<std::uint64_t>(kb) / 1000;
  std::wstring grouped;
  if (mb > 0) {
    std::wstring digits = Digits(mb);
    for (std::size_t i = 0; i < digits.size(); ++i) {
      if (i > 0 && (digits.size() - i) % 3 == 0) grouped += thousandSep;
      grouped += digits[i];
    }
  }
  return grouped + L" Mb";
}

std::wstring AttributeLetters(unsigned attributes) {
  std::wstring s;
  if (attributes & kAttrArchive) s += L'A';
  if (attributes & kAttrReadOnly) s += L'R';
  if (attributes & kAttrHidden) s += L'H';
  if (attributes & kAttrSystem) s += L'S';
  return s;
}

std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName) {
  std::wstring caption = L" (";
  caption += letter;
  caption += L":)  ";
  std::size_t paren = displayName.find(L'(');
  if (paren != std::wstring::npos) caption += displayName.substr(0, paren);
  return caption;
}

std::wstring FormatDateTime(const std::wstring& p, const DateTimeParts& t) {
  std::wstring out;
  wchar_t lastLetter = 0;
  std::size_t i = 0;
  while (i < p.size()) {
    const wchar_t c = p[i];
    if (c == L'"' || c == L'\'') {
      std::size_t close = p.find(c, i + 1);
      if (close == std::wstring::npos) close = p.size();
      out += p.substr(i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    if (IsAmPmAt(p, i)) {
      const bool lower = c == L'a';
      out += t.hour < 12 ? (lower ? L"am" : L"AM") : (lower ? L"pm" : L"PM");
      lastLetter = L'A';
      i += 5;
      continue;
    }
    wchar_t u = AsciiUpper(c);
    std::size_t run = 1;
    while (i + run < p.size() && AsciiUpper(p[i + run]) == u) ++run;
    if (u == L'M' && lastLetter == L'H') u = L'N';  // minutes right after an hour
    switch (u) {
      case L'D':
        out += run == 1 ? Padded(t.day, 1) : Padded(t.day, 2);
        break;
      case L'M':
        out += run == 1 ? Padded(t.month, 1) : Padded(t.month, 2);
        break;
      case L'Y':
        out += run <= 2 ? Padded(t.year % 100, 2) : Padded(t.year, 4);
        break;
      case L'H': {
        int h = t.hour;
        if (AmPmFollows(p, i + run)) h = (h % 12 == 0) ? 12 : h % 12;
        out += run == 1 ? Padded(h, 1) : Padded(h, 2);
        break;
      }
      case L'N':
        out += run == 1 ? Padded(t.minute, 1) : Padded(t.minute, 2);
        break;
      case L'S':
        out += run == 1 ? Padded(t.second, 1) : Padded(t.second, 2);
        break;
      default:
        out.append(p, i, run);
        break;
    }
    if (u >= L'A' && u <= L'Z') lastLetter = u;
    i += run;
  }
  return out;
}

std::wstring DatePattern(TDtFormat f, const std::wstring& localeShortDate) {
  switch (f) {
    case df_MMddyyyy: return L"MM/dd/yyyy";
    case df_MMddyy: return L"MM/dd/yy";
    case df_ddMMyyyy: return L"dd/MM/yyyy";
    case df_ddMMyy_GB: return L"dd/MM/yy";
    case df_ddMMyy_DE: return L"dd.MM.yy";
    case df_ddMMyy_IT: return L"dd-MM-yy";
    case df_yyyyMMdd: return L"yyyy-MM-dd";
    case df_yyMMdd: return L"yy-MM-dd";
    case df_Customize: break;
  }
  return localeShortDate;
}

std::wstring TimePattern(TTmFormat f, const LocaleTime& locale) {
  if (f == tfCustomize) return locale.timeFormat.substr(0, locale.timeFormat.find(L't')) + L" AM/PM";
  std::wstring pattern = locale.leadingZero ? L"hh:mm" : L"h:mm";
  if (f == tfLongFormat) pattern += L":ss";
  if (locale.twelveHour) pattern += L" AM/PM";
  return pattern;
}

std::wstring SortKeyText(std::uint64_t fileTime) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", static_cast<double>(fileTime));
  // "1.325376e+17" is written "1.325376E17".
  std::wstring s;
  for (const char* p = buf; *p; ++p) {
    if (*p == 'e') {
      s += L'E';
      ++p;
      if (*p == '-') s += L'-';
      if (*p == '+' || *p == '-') ++p;
      while (*p == '0' && p[1]) ++p;
      for (; *p; ++p) s += static_cast<wchar_t>(*p);
      break;
    }
    s += static_cast<wchar_t>(*p);
  }
  return s;
}

double SortKeyValue(std::uint64_t fileTime) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", static_cast<double>(fileTime));
  return std::strtod(buf, nullptr);
}

int CompareKeys(const RowOrderKey& a, const RowOrderKey& b, int column, bool descending) {
  // The parent row leads in both directions. (Keeping it unreversed against
  // some rows while the others reverse would make the order inconsistent.)
  if (a.parent != b.parent) return a.parent ? -1 : 1;
  int r;
  if (a.dir != b.dir) {
    r = a.dir ? -1 : 1;
  } else if (column == 1 || column == 3) {
    r = a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
  } else {
    int c = a.text.compare(b.text);
    r = c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return descending ? -r : r;
}

void SortRowOrder(std::vector<std::uint32_t>& order, const std::vector<RowOrderKey>& keys, int column,
                  bool descending) {
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t x, std::uint32_t y) {
    return CompareKeys(keys[x], keys[y], column, descending) < 0;
  });
}

namespace {

// Units beyond the table (none on Windows, where wchar_t has 16 bits) keep their value.
std::uint32_t UpperUnit(wchar_t c, const wchar_t* upper) {
  const auto u = static_cast<std::uint32_t>(c);
  return u < 0x10000 ? static_cast<std::uint32_t>(upper[u]) : u;
}

int CompareUpper(std::wstring_view a, std::wstring_view b, const wchar_t* upper) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;  // the same unit has the same upper case
    const std::uint32_t x = UpperUnit(a[i], upper), y = UpperUnit(b[i], upper);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

void SortRowOrderByText(std::vector<std::uint32_t>& order, const std::vector<RowOrderView>& keys,
                        const wchar_t* upper, bool descending) {
  // The rules of CompareKeys for a text column.
  const auto before = [&](std::uint32_t x, std::uint32_t y) {
    const RowOrderView& a = keys[x];
    const RowOrderView& b = keys[y];
    if (a.parent != b.parent) return a.parent;
    const int r = a.dir != b.dir ? (a.dir ? -1 : 1) : CompareUpper(a.text, b.text, upper);
    return (descending ? -r : r) < 0;
  };
  // NTFS, and Wine, give a folder's names in this order already: one pass
  // over them finds it, where the sort would compare each name many times.
  if (std::is_sorted(order.begin(), order.end(), before)) return;
  std::stable_sort(order.begin(), order.end(), before);
}

double SizeNumber(const std::wstring& sizeText, TFileSize unit) {
  std::wstring t = sizeText;
  if (unit == fsKB) {
    std::size_t kb = t.find(L" KB");
    if (kb != std::wstring::npos) t.resize(kb);
  }
  t = Trim(t);
  if (t.empty()) return 0;
  wchar_t* end = nullptr;
  double v = std::wcstod(t.c_str(), &end);
  return (end && *end == L'\0') ? v : 0;
}

RowOrderKey OrderKeyOf(const RowTexts& row, int column, const std::wstring& parentCaption, TFileSize unit,
                       UpperFn upper) {
  if (!upper) upper = UpperCase;
  RowOrderKey k;
  k.parent = row.caption == parentCaption;
  k.dir = row.sub[5] == L"dir";
  switch (column) {
    case 0: k.text = upper(row.caption); break;
    case 1: k.number = SizeNumber(row.sub[0], unit); break;
    case 2: k.text = upper(row.sub[1]); break;
    case 3: k.number = std::wcstod(row.sub[6].c_str(), nullptr); break;
    case 4: k.text = upper(row.sub[3]); break;
    default: break;
  }
  return k;
}

int CompareItems(const RowTexts& a, const RowTexts& b, int column, bool descending,
                 const std::wstring& parentCaption, TFileSize unit, UpperFn upper) {
  return CompareKeys(OrderKeyOf(a, column, parentCaption, unit, upper),
                     OrderKeyOf(b, column, parentCaption, unit, upper), column, descending);
}

}  // namespace ferlane
