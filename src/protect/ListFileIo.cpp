#include "protect/ListFileIo.h"

#include <algorithm>
#include <climits>

#include "platform/CodePage.h"
#include "platform/ErrorText.h"
#include "platform/PrivateRights.h"
#include "platform/UniqueHandle.h"
#include "protect/logic/ListFile.h"

namespace ferlane {
namespace {

std::wstring FolderOf(const std::wstring& fileName) {
  std::size_t slash = fileName.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  return fileName.substr(0, slash + 1);
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) return ::GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::string EncodeListLines(const std::vector<std::wstring>& lines) {
  return EncodeListLines(lines.size(), [&](std::size_t i) { return std::wstring_view(lines[i]); });
}

std::string EncodeListLines(std::size_t count, const std::function<std::wstring_view(std::size_t)>& line) {
  // The ANSI code page, one system call per distinct character rather than
  // per line: the list's characters are few, its lines many.
  CharCacheEncoder ansi([](wchar_t c, std::string& bytes) {
    char out[8];
    BOOL defaulted = FALSE;
    const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &c, 1, out, sizeof out, nullptr, &defaulted);
    if (n <= 0 || defaulted) return false;
    bytes.assign(out, static_cast<std::size_t>(n));
    return true;
  });
  std::string bytes;
  std::size_t size = 0;
  for (std::size_t i = 0; i < count; ++i) size += line(i).size() + 2;
  bytes.reserve(size);
  bool ansiOk = true;
  for (std::size_t i = 0; i < count && ansiOk; ++i) {
    const std::wstring_view text = line(i);
    if (!text.data()) continue;  // no line at all (an unknown type)
    ansiOk = ansi.Append(text, bytes);
    bytes += "\r\n";
  }
  // ANSI bytes that the next load would take for another form (a mark at
  // the start, or valid UTF-8 such as "Ã©") would come back as other names.
  if (ansiOk && DetectListEncoding(bytes) == ListEncoding::Ansi) return bytes;
  bytes.assign(kUtf8Bom);
  for (std::size_t i = 0; i < count; ++i) {
    const std::wstring_view text = line(i);
    if (!text.data()) continue;
    AppendUtf8(text, bytes);
    bytes += "\r\n";
  }
  return bytes;
}

namespace {

// The system's ANSI code page, strictly: false when a byte has no character.
bool DecodeAnsi(std::string_view in, std::wstring& out) {
  out.clear();
  if (in.empty()) return true;
  if (in.size() > INT_MAX) return false;
  const int size = static_cast<int>(in.size());
  int n = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  if (n <= 0) {
    out = FromCodePage(CP_ACP, in);  // keep what can be read; the file is kept too
    return false;
  }
  out.resize(static_cast<std::size_t>(n));
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n);
  return true;
}

}  // namespace

std::vector<std::wstring> DecodeListBytes(std::string_view bytes, bool* whole) {
  ListText text = DecodeListText(bytes, DecodeAnsi);
  if (whole) *whole = text.whole;
  return std::move(text.lines);
}

DWORD ReadListFile(const std::wstring& fileName, std::vector<std::wstring>& lines, bool* whole) {
  lines.clear();
  std::string bytes;
  bool exists = false;
  const DWORD error = ReadListBytes(fileName, bytes, exists);
  std::wstring text;
  bool decoded = true;
  if (error == ERROR_SUCCESS) decoded = DecodeListFileBytes(bytes, text);
  ListText split = SplitListText(text);
  if (whole) *whole = decoded && split.whole;
  if (error == ERROR_SUCCESS) lines = std::move(split.lines);
  return error;
}

bool StampListFile(const std::wstring& fileName, ListFileStamp& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(fileName.c_str(), GetFileExInfoStandard, &data)) return false;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  stamp.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  stamp.written = (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                  data.ftLastWriteTime.dwLowDateTime;
  return true;
}

DWORD WriteListFile(const std::wstring& fileName, const std::vector<std::wstring>& lines,
                    const ListSaveStop& stopAfter) {
  return WriteListBytes(fileName, EncodeListLines(lines), stopAfter);
}

DWORD CreateListTemp(const std::wstring& fileName, const std::string& bytes, ListTemp& temp, DWORD* rightsError,
                     const ListSaveStop& stopAfter) {
  temp = ListTemp{};
  auto stop = [&](ListSaveStep step) { return stopAfter && stopAfter(step); };
  // Beside the old file under a fresh name, private from its creation: no
  // other user may open it at any moment, even before it is filled.
  const std::wstring folder = FolderOf(fileName);
  const std::wstring prefix = folder + (folder.back() == L'\\' || folder.back() == L'/' ? L"" : L"\\") + L"fer";
  unsigned seed = static_cast<unsigned>(::GetTickCount() ^ (::GetCurrentProcessId() << 8));
  UniqueFile& file = temp.file;
  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 64 && !file; ++attempt) {
    const unsigned number = (seed + static_cast<unsigned>(attempt) * 40503u) & 0xFFFFu;
    wchar_t hex[8];
    ::wsprintfW(hex, L"%X", number);
    const std::wstring name = prefix + hex + L".tmp";
    DWORD refused = ERROR_SUCCESS;
    file.reset(CreatePrivateFile(name, GENERIC_WRITE, CREATE_NEW, refused, FILE_SHARE_READ | FILE_SHARE_DELETE));
    if (file) {
      temp.name = name;
      if (rightsError) *rightsError = refused;
    } else if ((error = ::GetLastError()) != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return error;
    }
  }
  if (!file) return error;
  error = WriteAll(file.get(), bytes);
  if (error == ERROR_SUCCESS && stop(ListSaveStep::Write)) return ERROR_CANCELLED;
  if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
  if (error == ERROR_SUCCESS && stop(ListSaveStep::Flush)) return ERROR_CANCELLED;
  if (error != ERROR_SUCCESS) DiscardListTemp(temp);
  return error;
}

DWORD CommitListTemp(ListTemp& temp, const std::wstring& fileName) {
  // A list file that was marked hidden stays hidden.
  DWORD old = ::GetFileAttributesW(fileName.c_str());
  if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
    ::SetFileAttributesW(temp.name.c_str(),
                         old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
  // Renamed while still held: until it is the list, it is never unheld.
  if (!::MoveFileExW(temp.name.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = ::GetLastError();
    DiscardListTemp(temp);
    return error;
  }
  temp = ListTemp{};
  return ERROR_SUCCESS;
}

void DiscardListTemp(ListTemp& temp) {
  temp.file.reset();
  if (temp.name.empty()) return;
  ::SetFileAttributesW(temp.name.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(temp.name.c_str());
  temp.name.clear();
}

bool IsReadOnlyFile(const std::wstring& fileName) {
  const DWORD current = ::GetFileAttributesW(fileName.c_str());
  return current != INVALID_FILE_ATTRIBUTES && (current & FILE_ATTRIBUTE_READONLY);
}

DWORD WriteListBytes(const std::wstring& fileName, const std::string& bytes, const ListSaveStop& stopAfter,
                     DWORD* rightsError) {
  // Renaming over a read-only file would drop the flag the user set on it.
  if (IsReadOnlyFile(fileName)) return ERROR_ACCESS_DENIED;
  // Written beside the old file under a fresh name, then renamed over it, so
  // a failed write (full disk, refused access, a crash) leaves the old list.
  ListTemp temp;
  if (const DWORD error = CreateListTemp(fileName, bytes, temp, rightsError, stopAfter)) return error;
  if (const DWORD error = CommitListTemp(temp, fileName)) return error;
  if (stopAfter && stopAfter(ListSaveStep::Rename)) return ERROR_CANCELLED;
  return ERROR_SUCCESS;
}

void RemoveStaleListTempFiles(const std::wstring& fileName) {
  const std::wstring folder = FolderOf(fileName);
  std::wstring pattern = folder;
  if (pattern.back() != L'\\') pattern += L'\\';
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((pattern + L"fer*.tmp").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsListTempName(fd.cFileName)) continue;
    const std::wstring path = pattern + fd.cFileName;
    // A save never makes its file read-only: one that is, is no save's.
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
      ::SetFileAttributesW(path.c_str(), fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
    // Only what no one holds: a save in progress (this user's or another's,
    // in a shared folder for the lists) keeps its file open to its rename,
    // so this open fails on it. Closing deletes what it opened.
    UniqueFile unheld(::CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
}

std::wstring BackUpListBytes(const std::wstring& fileName, const std::string& bytes, DWORD& error,
                             DWORD* rightsError) {
  // Never over an older copy: that may hold the only whole original.
  for (int attempt = 1; attempt < 100; ++attempt) {
    const std::wstring name = ListBackupName(fileName, attempt);
    DWORD refused = ERROR_SUCCESS;
    UniqueFile file(CreatePrivateFile(name, GENERIC_WRITE, CREATE_NEW, refused));
    if (!file) {
      error = ::GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
      continue;
    }
    if (rightsError && refused) *rightsError = refused;
    error = WriteAll(file.get(), bytes);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
    file.reset();
    if (error == ERROR_SUCCESS) return name;
    ::DeleteFileW(name.c_str());
    return {};
  }
  error = ERROR_FILE_EXISTS;
  return {};
}

namespace {

DWORD ReadListBytesOnce(const std::wstring& fileName, std::string& bytes, bool& exists) {
  bytes.clear();
  exists = false;
  DWORD attributes = ::GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return ERROR_SUCCESS;  // a folder is no list file
  }
  UniqueFile file(::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
    return error;
  }
  exists = true;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return ::GetLastError();
  if (size.QuadPart > INT_MAX) return ERROR_NOT_ENOUGH_MEMORY;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return ::GetLastError();
    if (got == 0) break;  // shorter than it said: take what is there
    done += got;
  }
  bytes.resize(done);
  return ERROR_SUCCESS;
}

}  // namespace

DWORD ReadListBytes(const std::wstring& fileName, std::string& bytes, bool& exists) {
  // An editor or a script saving at this very moment may hold the file
  // unshared, or a range of it locked, for an instant: it is read again a
  // little later rather than taken for an unreadable list.
  constexpr int kTries = 10;
  constexpr DWORD kPauseMs = 100;
  for (int attempt = 1;; ++attempt) {
    const DWORD error = ReadListBytesOnce(fileName, bytes, exists);
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) || attempt == kTries) return error;
    ::Sleep(kPauseMs);
  }
}

bool DecodeListFileBytes(std::string_view bytes, std::wstring& text) { return DecodeListBytesToText(bytes, DecodeAnsi, text); }

std::wstring OpenListFileErrorText(const std::wstring& fileName, DWORD error) {
  return L"Impossible d'ouvrir le fichier \"" + fileName + L"\". " + SystemErrorText(error);
}

std::wstring CreateListFileErrorText(const std::wstring& fileName, DWORD error) {
  return L"Impossible de cr\u00E9er le fichier \"" + fileName + L"\". " + SystemErrorText(error);
}

ListFileKind ListPathKind(const std::wstring& fileName) {
  if (IsDeviceName(fileName)) return ListFileKind::Device;
  const DWORD attributes = ::GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return ListFileKind::Disk;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ListFileKind::Folder;
  // Opened for no reading at all, only to ask what it is (a pipe's or a
  // device's other names): nobody is kept from the file meanwhile.
  const UniqueFile probe(::CreateFileW(fileName.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
  return probe && ::GetFileType(probe.get()) != FILE_TYPE_DISK ? ListFileKind::Device : ListFileKind::Disk;
}

}  // namespace ferlane
