#pragma once
// Test doubles shared by the Windows tests: a platform whose answers a test
// sets, a message sink that records message boxes, and a scratch folder.
#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "platform/Platform.h"

namespace ferlane::test {

// Answers like the real system unless a test overrides a fact.
class FakePlatform : public Win32Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;

  std::optional<std::wstring> userName;
  std::optional<std::optional<OsVersion>> version;
  std::optional<bool> administrator;
  std::optional<std::vector<std::wstring>> driveStrings;
  std::map<std::wstring, UINT> driveTypes;      // root -> type
  std::vector<std::wstring> drivesWithoutMedium;  // roots whose size cannot be read
  std::optional<std::wstring> programFiles;
  std::optional<std::wstring> programFiles64;
  std::vector<std::wstring> refusedValueWrites;  // value names whose writes fail with access denied
  struct Executed {
    std::wstring verb, file, params, folder;
    int show;
  };
  // When set, ShellExecute runs nothing and each call is recorded here.
  std::optional<std::vector<Executed>> executed;
  std::optional<TokenElevation> elevation;
  // When set, StartElevated starts nothing: each program is recorded and the
  // answer given.
  std::optional<DWORD> elevatedStartAnswer;
  std::vector<std::wstring> elevatedStarts;
  std::function<void()> whileStartingElevated;  // runs as the elevated copy would start
  // When set, file rights are kept here by path, as Windows keeps them and
  // Wine does not; a path never written reads as a new file's rights (its
  // parent's, open to every user).
  std::optional<std::map<std::wstring, FileRights>> keptRights;
  std::optional<DWORD> rightsRefusal;      // when set, every rights write fails with it
  std::vector<std::wstring> rightsWrites;  // the paths written, in order
  // The files made with rights from their creation, in order (their rights
  // kept in keptRights when it is set).
  std::vector<std::wstring> createdPrivate;
  // Every event written, in order; none reaches the log. With eventRefusal
  // set, each write is still recorded and answers that code.
  struct WrittenEvent {
    WORD type;
    DWORD id;
    std::vector<std::wstring> strings;
  };
  std::vector<WrittenEvent> events;
  std::optional<DWORD> eventRefusal;
  // When it gives an answer, a rename gives that answer and moves nothing.
  std::function<std::optional<DWORD>(const std::wstring& from, const std::wstring& to)> renameAnswer;
  std::vector<std::wstring> undeletable;  // paths whose delete fails with access denied
  std::map<std::wstring, DWORD> unreadableFolders;  // folder -> the code its listing fails with
  // Servers ("\\\\alpha", lower case) that do not answer: a lookup of a path on
  // one of them blocks while this platform lives, as Windows waits out its
  // redirector's timeout. Counted by server, each lookup that blocked.
  std::vector<std::wstring> silentServers;
  // Paths whose attributes say a junction or symbolic link, which Wine
  // cannot make (a junction's FSCTL_SET_REPARSE_POINT fails with 50).
  std::vector<std::wstring> linkPaths;
  std::map<std::wstring, int> BlockedLookups();

  std::wstring LogonUserName() override { return userName ? *userName : Win32Platform::LogonUserName(); }
  std::optional<OsVersion> Version() override { return version ? *version : Win32Platform::Version(); }
  bool IsAdministrator() override { return administrator ? *administrator : Win32Platform::IsAdministrator(); }
  bool LogicalDriveStrings(std::vector<std::wstring>& roots, DWORD& error) override;
  UINT DriveType(const std::wstring& root) override;
  bool DiskSpace(const std::wstring& root, std::uint64_t& total, std::uint64_t& free) override;
  std::wstring ProgramFilesDir() override { return programFiles ? *programFiles : Win32Platform::ProgramFilesDir(); }
  std::wstring ProgramFiles64Dir() override {
    return programFiles64 ? *programFiles64 : Win32Platform::ProgramFiles64Dir();
  }
  LONG SetRegistryValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, DWORD bytes) override;
  INT_PTR RunShellExecute(HWND owner, const std::wstring& verb, const std::wstring& file, const std::wstring& params,
                          const std::wstring& folder, int show) override;
  TokenElevation Elevation() override { return elevation ? *elevation : Win32Platform::Elevation(); }
  bool ReadFileRights(const std::wstring& path, FileRights& rights) override;
  DWORD WriteFileRights(const std::wstring& path, const FileRights& rights) override;
  HANDLE CreateFileWithRights(const std::wstring& path, DWORD access, DWORD disposition, const FileRights* rights,
                              DWORD& rightsError, DWORD share) override;
  DWORD WriteEvent(WORD type, DWORD id, const std::vector<std::wstring>& strings) override {
    events.push_back({type, id, strings});
    return eventRefusal.value_or(ERROR_SUCCESS);
  }
  DWORD RenameEntry(const std::wstring& from, const std::wstring& to) override {
    if (renameAnswer)
      if (const std::optional<DWORD> answer = renameAnswer(from, to)) return *answer;
    return Win32Platform::RenameEntry(from, to);
  }
  DWORD RemoveEntry(const std::wstring& path, bool folder) override {
    for (const std::wstring& refused : undeletable)
      if (::lstrcmpiW(refused.c_str(), path.c_str()) == 0) return ERROR_ACCESS_DENIED;
    return Win32Platform::RemoveEntry(path, folder);
  }
  HANDLE FindFirstEntry(const std::wstring& folder, WIN32_FIND_DATAW& data) override {
    for (const auto& [refused, error] : unreadableFolders)
      if (::lstrcmpiW(refused.c_str(), folder.c_str()) == 0) {
        ::SetLastError(error);
        return INVALID_HANDLE_VALUE;
      }
    return Win32Platform::FindFirstEntry(folder, data);
  }
  DWORD PathAttributes(const std::wstring& path) override;
  DWORD StartElevated(const std::wstring& program, const std::wstring& folder) override {
    if (!elevatedStartAnswer) return Win32Platform::StartElevated(program, folder);
    elevatedStarts.push_back(program);
    if (whileStartingElevated) whileStartingElevated();
    return *elevatedStartAnswer;
  }
 private:
  CRITICAL_SECTION blockedLock_;
  std::map<std::wstring, int> blocked_;
  HANDLE released_ = nullptr;  // set as the platform goes: the silent servers answer
  LONG inside_ = 0;            // lookups still inside this platform
};

class RecordingMessages : public IMessageSink {
 public:
  RecordingMessages() { SetMessageSink(this); }
  ~RecordingMessages() override { SetMessageSink(nullptr); }
  struct Shown {
    std::wstring text, caption;
    UINT flags;
  };
  std::vector<Shown> shown;
  std::vector<int> answers;
  std::function<void()> onShow;  // runs while the "box" is up
  int Show(HWND, const std::wstring& text, const std::wstring& caption, UINT flags) override;
};

// A fresh folder under the temp folder, removed with its content afterwards.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::wstring& path() const { return path_; }  // with a trailing backslash
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }
  // Creates a file of size bytes (with the given attributes when not 0).
  std::wstring File(const std::wstring& name, std::size_t size = 0, DWORD attributes = 0) const;
  std::wstring Folder(const std::wstring& name, DWORD attributes = 0) const;

 private:
  std::wstring path_;
};

// Runs the pending window messages of this thread.
void PumpMessages();

}  // namespace ferlane::test
