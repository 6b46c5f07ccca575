#include "browse/logic/FileOpsLogic.h"

#include <cmath>
#include <cstdio>

#include "browse/logic/PathOps.h"

namespace ferlane::fileops {
namespace {

struct Viewer {
  const wchar_t* ext;
  const wchar_t* program;
};
// In the table's order: the clipboard rule counts its first fourteen entries.
constexpr Viewer kViewers[] = {
    {L".C", L"NotePad.exe"},   {L".CPP", L"NotePad.exe"}, {L".DPK", L"NotePad.exe"}, {L".DPR", L"NotePad.exe"},
    {L".H", L"NotePad.exe"},   {L".INF", L"NotePad.exe"}, {L".INI", L"NotePad.exe"}, {L".PAS", L"NotePad.exe"},
    {L".PRG", L"NotePad.exe"}, {L".TXT", L"NotePad.exe"}, {L".DOC", L"Write.exe"},   {L".RTF", L"Write.exe"},
    {L".WRI", L"Write.exe"},   {L".BMP", L"PBrush.exe"},  {L".GIF", L"PBrush.exe"},  {L".JPG", L"PBrush.exe"},
};
constexpr int kClipboardViewers = 14;

int Index(ListMenuItem i) { return static_cast<int>(i); }
int Index(TreeMenuItem i) { return static_cast<int>(i); }

}  // namespace

const wchar_t* ViewerFor(const std::wstring& ext) {
  const std::wstring upper = UpperCase(ext);
  for (const Viewer& v : kViewers)
    if (upper == v.ext) return v.program;
  return nullptr;
}

bool ClipboardContentsAllowed(const std::wstring& ext) {
  const std::wstring upper = UpperCase(ext);
  for (int i = 0; i < kClipboardViewers; ++i)
    if (upper == kViewers[i].ext) return true;
  return upper == L".RTF" || upper == L".WMF";
}

std::wstring FreeFolderPath(const std::wstring& path, const std::function<bool(const std::wstring&)>& exists) {
  if (!exists(path)) return path;
  for (unsigned n = 2;; ++n) {
    std::wstring candidate = path + L"(" + std::to_wstring(n) + L")";
    if (!exists(candidate)) return candidate;
  }
}

std::wstring QuoteArgument(const std::wstring& arg) {
  if (arg.empty() || (arg.size() >= 2 && arg.front() == L'"' && arg.back() == L'"')) return arg;
  return L"\"" + arg + L"\"";
}

std::array<bool, kListMenuItemCount> ListMenuEnabled(const ListMenuState& s) {
  std::array<bool, kListMenuItemCount> on{};
  const bool any = s.selectedCount > 0;
  for (ListMenuItem i : {ListMenuItem::Open, ListMenuItem::SendTo, ListMenuItem::Cut, ListMenuItem::Copy,
                         ListMenuItem::Delete, ListMenuItem::Properties, ListMenuItem::AnyFolder,
                         ListMenuItem::ClipboardFileName, ListMenuItem::DesktopShortcut})
    on[Index(i)] = any;
  on[Index(ListMenuItem::View)] = any && ViewerFor(s.selectedExt) != nullptr;
  on[Index(ListMenuItem::Paste)] = s.clipboardFilled;
  on[Index(ListMenuItem::Rename)] = s.selectedCount == 1;
  on[Index(ListMenuItem::NewFolder)] = !s.driveMode;
  on[Index(ListMenuItem::ClipboardContents)] = s.selectedCount == 1 && ClipboardContentsAllowed(s.selectedExt);
  return on;
}

std::array<bool, kTreeMenuItemCount> TreeMenuEnabled(int level, bool pastePending) {
  std::array<bool, kTreeMenuItemCount> on{};
  const bool drive = level >= 1, folder = level >= 2;
  on[Index(TreeMenuItem::NewFolder)] = drive;
  on[Index(TreeMenuItem::RenameFolder)] = folder;
  on[Index(TreeMenuItem::DeleteFolder)] = folder;
  on[Index(TreeMenuItem::Cut)] = folder;
  on[Index(TreeMenuItem::Copy)] = folder;
  on[Index(TreeMenuItem::Paste)] = folder && pastePending;
  on[Index(TreeMenuItem::TreeSize)] = drive;
  on[Index(TreeMenuItem::FolderContents)] = drive;
  on[Index(TreeMenuItem::ConnectNetworkDrive)] = true;
  on[Index(TreeMenuItem::DisconnectNetworkDrive)] = true;
  on[Index(TreeMenuItem::Properties)] = drive;
  return on;
}

std::wstring FormatNumber(double value, int decimals, const NumberFormat& f) {
  wchar_t buf[64];
  std::swprintf(buf, 64, L"%.*f", decimals, std::fabs(value));
  std::wstring digits = buf;
  std::wstring fraction;
  if (std::size_t dot = digits.find(L'.'); dot != std::wstring::npos) {
    fraction = f.decimalSeparator + digits.substr(dot + 1);
    digits.resize(dot);
  }
  std::wstring grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += f.thousandSeparator;
    grouped += digits[i];
  }
  return (value < 0 && grouped.find_first_not_of(L"0") != std::wstring::npos ? L"-" : L"") + grouped + fraction;
}

std::wstring TreeSizeHeader(bool drive, const std::wstring& nodePath) {
  if (drive) return Text(Msg::DriveWord) + nodePath;
  return Text(Msg::FolderWord) + ExtractFileName(DelSlash(nodePath)) + L"\"";
}

std::wstring TreeSizeMessage(const std::wstring& header, std::uint64_t bytes, const NumberFormat& f) {
  const double total = static_cast<double>(bytes);
  const double kb = bytes == 0 ? 0.0 : bytes < 1024 ? 1.0 : total / 1024.0;
  const std::wstring size = kb > 99999 ? FormatNumber(kb / 1024.0, 2, f) + L" MB" : FormatNumber(kb, 2, f) + L" KB";
  return L"===== " + Text(Msg::TreeSizeTitle) + L" =====\r\r" + header + L"\r" + Text(Msg::SubFoldersLine) +
         L"\r =  " + FormatNumber(total, 0, f) + L" Bytes\r     (i.e. " + size + L" )";
}

std::wstring FolderContentsTitle(bool drive, const std::wstring& path) {
  if (drive) return L"\" " + path.substr(0, 1) + L":\\ \"";
  return L"\" ..\\" + ExtractFileName(DelSlash(path)) + L" \"";
}

wchar_t NextDriveLetter(std::uint32_t logicalDrives) {
  for (int i = 25; i >= 0; --i)
    if (logicalDrives & (1u << i)) return i == 25 ? L' ' : static_cast<wchar_t>(L'A' + i + 1);
  return L' ';
}

}  // namespace ferlane::fileops

namespace ferlane::fileops {

std::wstring ProgressCancelCaption(TLanguage l) {
  return l == lnFrench ? L"Annuler" : TextIn(l, Msg::CancelCaption);
}

std::wstring ProgressLine(TLanguage l, std::uint64_t folders, std::uint64_t bytes, const NumberFormat& f) {
  const std::wstring n = FormatNumber(static_cast<double>(folders), 0, f);
  const std::wstring b = FormatNumber(static_cast<double>(bytes), 0, f);
  if (l == lnFrench) return L"Dossiers : " + n + L"    Octets : " + b;
  return L"Folders: " + n + L"    Bytes: " + b;
}

}  // namespace ferlane::fileops
