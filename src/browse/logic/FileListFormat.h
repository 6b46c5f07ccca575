#pragma once
// The texts and rules of the file list view that need no window: size, drive
// size, attribute and date texts, listing patterns, which entries a pass
// admits, rename targets and the order of the rows.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace ferlane {

// ---- Enumerations of the widget's published properties ------------------

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftArchive, ftNormal };
// A set of TFileAttr: bit n stands for the member of value n.
using TFileAttrs = unsigned;
constexpr TFileAttrs FileAttrs(std::initializer_list<TFileAttr> members) {
  TFileAttrs s = 0;
  for (TFileAttr m : members) s |= 1u << m;
  return s;
}

enum TFileSize { fsKB, fsByte };

enum TDtFormat {
  df_MMddyyyy,
  df_MMddyy,
  df_ddMMyyyy,
  df_ddMMyy_GB,
  df_ddMMyy_DE,
  df_ddMMyy_IT,
  df_yyyyMMdd,
  df_yyMMdd,
  df_Customize,
};

enum TTmFormat { tfLongFormat, tfShortFormat, tfCustomize };

// File attribute bits as the platform reports them.
inline constexpr unsigned kAttrReadOnly = 0x01;
inline constexpr unsigned kAttrHidden = 0x02;
inline constexpr unsigned kAttrSystem = 0x04;
inline constexpr unsigned kAttrDirectory = 0x10;
inline constexpr unsigned kAttrArchive = 0x20;
inline constexpr unsigned kAttrNormal = 0x80;

// The attribute bits of the members of a set (ftReadOnly 0x01 ... ftNormal 0x80).
unsigned AttributeMask(TFileAttrs set);

// ---- Listing ---------------------------------------------------------------

// The patterns of a mask: blanks around the whole mask removed, "*.*" when
// nothing is left, then cut at each ";". Parts keep their inner blanks; empty
// parts, which match nothing, are dropped.
std::vector<std::wstring> SplitMask(const std::wstring& mask);

// Whether a pass with the given attribute mask admits an entry: its folder
// bit must equal the mask's, and each of its read-only, hidden and system bits
// must be in the mask. Archive and normal never exclude.
bool AdmitEntry(unsigned attributes, unsigned mask);

// Whether a listing skips an entry by its name: "." always, ".." when the
// parent row is disabled or the folder is a drive root.
bool SkipEntryName(std::wstring_view name, bool parentDirEnabled, bool driveRoot);

// A row's caption: the name, or with hideExt the name without the text from
// its last ".".
std::wstring CaptionOf(const std::wstring& name, bool hideExt);

// The path an in-place rename goes to: the old path's folder + the new text.
// A view that hides extensions shows names without them, so the old extension
// is kept unless the new text already ends with it.
std::wstring RenameTarget(const std::wstring& oldPath, const std::wstring& newText, bool hideExt);

// ---- Cell texts ------------------------------------------------------------

// Kilobytes as the Size column counts them: 1 to 1023 bytes count as one.
std::uint64_t KBCount(std::uint64_t size);
// "<KB> KB", or " " when kind is "dir" in any letter case.
std::wstring SizeInKBText(std::uint64_t size, const std::wstring& kind);
// Sub-item 0 of a folder-mode row in the given unit.
std::wstring SizeText(std::uint64_t size, const std::wstring& kind, TFileSize unit);
// Drive size or free space, given in KB: "0 Mb" for 0 or less, else the
// megabytes (KB div 1000) with digits grouped by thousandSep, then " Mb".
std::wstring DriveSizeText(std::int64_t kb, const std::wstring& thousandSep);
// "A", "R", "H", "S" for the archive, read-only, hidden and system bits.
std::wstring AttributeLetters(unsigned attributes);
// " (X:)  " + the display name up to its first "(" (nothing when it has none).
std::wstring DriveCaption(wchar_t letter, const std::wstring& displayName);

// ---- Modified column -----------------------------------------------------

struct DateTimeParts {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// Formats with d, dd, M, MM, yy, yyyy, h, hh, m or mm after an hour, n, nn,
// s, ss and "AM/PM" (12-hour clock, letters ignore case); quoted text and
// other characters are copied. Longer runs of a letter give its two-digit
// form (four for the year).
std::wstring FormatDateTime(const std::wstring& pattern, const DateTimeParts& t);

// The date pattern of a DateFormat; df_Customize takes the locale's short date.
std::wstring DatePattern(TDtFormat f, const std::wstring& localeShortDate);

// What the locale says of times.
struct LocaleTime {
  bool twelveHour = false;    // LOCALE_ITIME 0
  bool leadingZero = false;   // LOCALE_ITLZERO 1
  std::wstring timeFormat;    // LOCALE_STIMEFORMAT
};
// The time pattern of a TimeFormat: hours and minutes (short), with seconds
// (long), or the locale's time format cut before its first "t" + " AM/PM".
std::wstring TimePattern(TTmFormat f, const LocaleTime& locale);

// Sub-item 6: a file time (100-ns intervals) as a decimal text with at most
// 15 significant digits ("1.325376E17"), and the value that text stands for.
std::wstring SortKeyText(std::uint64_t fileTime);
double SortKeyValue(std::uint64_t fileTime);

// ---- Row order -------------------------------------------------------------

// What the order of two rows depends on for one sort column: text for Name
// (0), Type (2) and Attr (4), already upper-cased; number for Size (1) and
// Modified (3).
struct RowOrderKey {
  bool parent = false;  // the parent row
  bool dir = false;     // kind tag "dir"
  std::wstring text;
  double number = 0;
};

// -1, 0 or +1. The parent row comes first in both directions; folders come
// before files ascending and after them descending; otherwise by the column.
int CompareKeys(const RowOrderKey& a, const RowOrderKey& b, int column, bool descending);

// Sorts row indices by their keys (keys[i] belongs to row i); equal rows keep
// their listing order.
void SortRowOrder(std::vector<std::uint32_t>& order, const std::vector<RowOrderKey>& keys, int column,
                  bool descending);

// A row's order key that borrows its text (the caption as listed) instead
// of holding an upper-cased copy, so a long listing sorts without a string
// per row.
struct RowOrderView {
  bool parent = false;
  bool dir = false;
  std::wstring_view text;
};

// The order SortRowOrder gives keys holding upper(text), for a text column:
// upper maps every UTF-16 unit (65,536 entries) to its upper case.
void SortRowOrderByText(std::vector<std::uint32_t>& order, const std::vector<RowOrderView>& keys,
                        const wchar_t* upper, bool descending);

// A row as hosts see it: the caption and the seven sub-item texts.
struct RowTexts {
  std::wstring caption;
  std::wstring sub[7];
};

using UpperFn = std::wstring (*)(const std::wstring&);

// The number shown by a Size text: " " is 0; "12 KB" is 12 with fsKB; the
// digits with fsByte.
double SizeNumber(const std::wstring& sizeText, TFileSize unit);
RowOrderKey OrderKeyOf(const RowTexts& row, int column, const std::wstring& parentCaption, TFileSize unit,
                       UpperFn upper = nullptr);
// The order of two rows by their texts (upper defaults to UpperCase).
int CompareItems(const RowTexts& a, const RowTexts& b, int column, bool descending,
                 const std::wstring& parentCaption, TFileSize unit, UpperFn upper = nullptr);

}  // namespace ferlane
