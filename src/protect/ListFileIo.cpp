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
    ansiOk = ansi.Append(line(i), bytes);
    bytes += "\r\n";
  }
  // ANSI bytes that the next load would take for another form (a mark at
  // the start, or valid UTF-8 such as "Ã©") would come back as other names.
  if (ansiOk && DetectListEncoding(bytes) == ListEncoding::Ansi) return bytes;
  bytes.assign(kUtf8Bom);
  for (std::size_t i = 0; i < count; ++i) {
    AppendUtf8(line(i), bytes);
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
  std::wstring text;
  bool decoded = true;
  DWORD error = ReadListFileText(fileName, text, &decoded);
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

DWORD ReadListFileText(const std::wstring& fileName, std::wstring& text, bool* decoded, std::string* raw) {
  if (raw) raw->clear();
  if (decoded) *decoded = true;
  text.clear();
  DWORD attributes = ::GetFileAttributesW(fileName.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
    // Otherwise let the open below report why.
  } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return ERROR_SUCCESS;  // a folder is no list file
  }
  UniqueFile file(::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ERROR_SUCCESS;
    return error;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return ::GetLastError();
  if (size.QuadPart > INT_MAX) return ERROR_NOT_ENOUGH_MEMORY;
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return ::GetLastError();
    if (got == 0) break;  // shorter than it said: take what is there
    done += got;
  }
  bytes.resize(done);
  const bool all = DecodeListBytesToText(bytes, DecodeAnsi, text);
  if (decoded) *decoded = all;
  if (raw) *raw = std::move(bytes);
  return ERROR_SUCCESS;
}

DWORD WriteListFile(const std::wstring& fileName, const std::vector<std::wstring>& lines,
                    const ListSaveStop& stopAfter) {
  return WriteListBytes(fileName, EncodeListLines(lines), stopAfter);
}

DWORD WriteListBytes(const std::wstring& fileName, const std::string& bytes, const ListSaveStop& stopAfter,
                     DWORD* rightsError) {
  // Renaming over a read-only file would drop the flag the user set on it.
  DWORD current = ::GetFileAttributesW(fileName.c_str());
  if (current != INVALID_FILE_ATTRIBUTES && (current & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;
  auto stop = [&](ListSaveStep step) { return stopAfter && stopAfter(step); };
  // Written beside the old file under a fresh name, then renamed over it, so
  // a failed write (full disk, refused access, a crash) leaves the old list.
  wchar_t temp[MAX_PATH];
  if (!::GetTempFileNameW(FolderOf(fileName).c_str(), L"fer", 0, temp)) return ::GetLastError();
  DWORD error = ERROR_SUCCESS;
  {
    UniqueFile file(
        ::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = ::GetLastError();
    } else {
      error = WriteAll(file.get(), bytes);
      if (error == ERROR_SUCCESS && stop(ListSaveStep::Write)) return ERROR_CANCELLED;
      if (error == ERROR_SUCCESS && !::FlushFileBuffers(file.get())) error = ::GetLastError();
      if (error == ERROR_SUCCESS && stop(ListSaveStep::Flush)) return ERROR_CANCELLED;
    }
  }
  if (error == ERROR_SUCCESS) {
    // Private before it is the list: no other user ever reads it.
    const DWORD refused = KeepPrivate(temp, false, true);
    if (rightsError) *rightsError = refused;
  }
  if (error == ERROR_SUCCESS) {
    // A list file that was marked hidden stays hidden.
    DWORD old = ::GetFileAttributesW(fileName.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
      ::SetFileAttributesW(temp, old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    if (!::MoveFileExW(temp, fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      error = ::GetLastError();
    else if (stop(ListSaveStep::Rename))
      return ERROR_CANCELLED;
  }
  if (error != ERROR_SUCCESS) {
    ::SetFileAttributesW(temp, FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(temp);
  }
  return error;
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
    if (fd.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
}

std::wstring BackUpListFile(const std::wstring& fileName, DWORD& error) {
  // Never over an older copy: that may hold the only whole original.
  for (int attempt = 1; attempt < 100; ++attempt) {
    const std::wstring name = ListBackupName(fileName, attempt);
    if (::CopyFileW(fileName.c_str(), name.c_str(), TRUE)) {
      // A copy takes its folder's rights; the list's own refusal is told.
      KeepPrivate(name, false, true);
      error = ERROR_SUCCESS;
      return name;
    }
    error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

std::wstring OpenListFileErrorText(const std::wstring& fileName, DWORD error) {
  return L"Impossible d'ouvrir le fichier \"" + fileName + L"\". " + SystemErrorText(error);
}

std::wstring CreateListFileErrorText(const std::wstring& fileName, DWORD error) {
  return L"Impossible de cr\u00E9er le fichier \"" + fileName + L"\". " + SystemErrorText(error);
}

}  // namespace ferlane
