#include "platform/Deadline.h"

#include <memory>
#include <utility>

#include "platform/Platform.h"
#include "platform/UniqueHandle.h"
#include "platform/logic/PathFold.h"
#include "platform/logic/ServerName.h"

namespace ferlane {
namespace {

// Shared by the waiting thread and the worker; the last one to let go frees
// it, so an abandoned worker never writes into freed memory.
struct Job {
  std::function<DWORD()> lookup;
  DWORD answer = ERROR_SUCCESS;
  LONG holders = 2;
  void Release() {
    if (::InterlockedDecrement(&holders) == 0) delete this;
  }
};

DWORD WINAPI RunJob(void* param) {
  auto* job = static_cast<Job*>(param);
  job->answer = job->lookup();
  job->Release();
  return 0;
}

}  // namespace

std::optional<DWORD> RunWithin(DWORD deadlineMs, std::function<DWORD()> lookup) {
  auto* job = new Job{std::move(lookup)};
  UniqueKernelHandle worker(::CreateThread(nullptr, 0, RunJob, job, 0, nullptr));
  if (!worker) {
    // No thread to be had: asked here, with no deadline.
    const DWORD answer = job->lookup();
    delete job;
    return answer;
  }
  if (::WaitForSingleObject(worker.get(), deadlineMs) == WAIT_OBJECT_0) {
    const DWORD answer = job->answer;
    job->Release();
    return answer;
  }
  using CancelFn = BOOL(WINAPI*)(HANDLE);
  if (auto cancel = reinterpret_cast<CancelFn>(
          ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "CancelSynchronousIo")))
    cancel(worker.get());
  job->Release();
  return std::nullopt;
}

DWORD FolderAnswers(const std::wstring& folder, DWORD deadlineMs) {
  // One run, one answer per folder, and a server that did not answer is
  // not asked again: the main thread alone asks.
  static std::map<std::wstring, DWORD> answers;
  static std::set<std::wstring> silent;
  std::wstring key = FoldPath(folder);
  while (key.size() > 3 && (key.back() == L'\\' || key.back() == L'/')) key.pop_back();
  if (const auto found = answers.find(key); found != answers.end()) return found->second;
  const std::wstring server = ServerOf(key);
  if (!server.empty() && silent.count(server)) return answers[key] = kNoAnswer;
  const std::optional<DWORD> answered = RunWithin(deadlineMs, [folder] {
    Platform().PathAttributes(folder);
    return static_cast<DWORD>(ERROR_SUCCESS);
  });
  if (answered) return answers[key] = ERROR_SUCCESS;
  if (!server.empty()) silent.insert(server);
  return answers[key] = kNoAnswer;
}

bool OnServer(const std::wstring& path) {
  const std::wstring server = ServerOf(path);
  if (server.size() != 2) return !server.empty();  // "\\server"
  return Platform().DriveType(server + L"\\") == DRIVE_REMOTE;
}

bool ServerReach::Remote(const std::wstring& server) {
  if (server.size() != 2) return true;  // "\\server"
  const auto found = drives_.find(server);
  if (found != drives_.end()) return found->second;
  return drives_[server] = Platform().DriveType(server + L"\\") == DRIVE_REMOTE;
}

DWORD ServerReach::Attributes(const std::wstring& path) {
  const std::wstring server = ServerOf(path);
  if (server.empty() || !Remote(server)) return Platform().PathAttributes(path);
  if (silent_.count(server)) {
    ::SetLastError(kNoAnswer);
    return INVALID_FILE_ATTRIBUTES;
  }
  // Held by the worker too: an abandoned one writes into its own copy.
  const auto got = std::make_shared<DWORD>(INVALID_FILE_ATTRIBUTES);
  const std::optional<DWORD> error = RunWithin(deadlineMs_, [path, got] {
    *got = Platform().PathAttributes(path);
    return *got == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : static_cast<DWORD>(ERROR_SUCCESS);
  });
  if (!error) {
    silent_.insert(server);
    ::SetLastError(kNoAnswer);
    return INVALID_FILE_ATTRIBUTES;
  }
  ::SetLastError(*error);
  return *got;
}

}  // namespace ferlane
