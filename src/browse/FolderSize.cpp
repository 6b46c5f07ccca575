#include "browse/FolderSize.h"

#include <process.h>

#include <utility>

#include "browse/logic/PathOps.h"

namespace ferlane {
namespace {

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { ::EnterCriticalSection(&cs_); }
  ~Lock() { ::LeaveCriticalSection(&cs_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& cs_;
};

// "." and "..", compared after trimming blanks.
bool IsDotEntry(const wchar_t* name) {
  if (name[0] != L'.' && name[0] > L' ') return false;  // most names: no text to make
  const std::wstring trimmed = Trim(name);
  return trimmed == L"." || trimmed == L"..";
}

}  // namespace

FolderSizeWalk::FolderSizeWalk(std::wstring path, int threads)
    : root_(std::move(path)), threadCount_(threads < 1 ? 1 : threads) {
  ::InitializeCriticalSection(&lock_);
  work_ = ::CreateSemaphoreW(nullptr, 0, 0x7FFFFFFF, nullptr);
  done_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

FolderSizeWalk::~FolderSizeWalk() {
  Cancel();
  if (!threads_.empty()) ::WaitForMultipleObjects(static_cast<DWORD>(threads_.size()), threads_.data(), TRUE, INFINITE);
  for (HANDLE t : threads_) ::CloseHandle(t);
  if (work_) ::CloseHandle(work_);
  if (done_) ::CloseHandle(done_);
  ::DeleteCriticalSection(&lock_);
}

bool FolderSizeWalk::Start() {
  if (!work_ || !done_ || !threads_.empty()) return false;
  {
    Lock lock(lock_);
    queue_.push_back(AddSlash(root_));
    pending_ = 1;
  }
  for (int i = 0; i < threadCount_; ++i) {
    const uintptr_t t = ::_beginthreadex(nullptr, 0, &FolderSizeWalk::ThreadMain, this, 0, nullptr);
    if (t) threads_.push_back(reinterpret_cast<HANDLE>(t));
  }
  if (threads_.empty()) {
    Finish();
    return false;
  }
  return true;
}

bool FolderSizeWalk::Wait(DWORD ms) const { return ::WaitForSingleObject(done_, ms) == WAIT_OBJECT_0; }

void FolderSizeWalk::Cancel() {
  if (::InterlockedExchange(&stop_, 1) == 0) Finish();
}

bool FolderSizeWalk::Cancelled() const {
  Lock lock(lock_);
  return stop_ != 0 && pending_ != 0;
}

std::uint64_t FolderSizeWalk::Bytes() const {
  Lock lock(lock_);
  return bytes_;
}

std::uint64_t FolderSizeWalk::Folders() const {
  Lock lock(lock_);
  return folders_;
}

unsigned __stdcall FolderSizeWalk::ThreadMain(void* self) {
  static_cast<FolderSizeWalk*>(self)->Work();
  return 0;
}

bool FolderSizeWalk::Take(std::wstring& folder) {
  // A thread sleeps only when the queue is empty, and is woken only then:
  // a semaphore call per folder would cost more than the folder's listing.
  ::EnterCriticalSection(&lock_);
  while (!stop_ && queue_.empty()) {
    ++idle_;
    ::LeaveCriticalSection(&lock_);
    ::WaitForSingleObject(work_, INFINITE);
    ::EnterCriticalSection(&lock_);
  }
  const bool taken = !stop_;
  if (taken) {
    folder = std::move(queue_.back());
    queue_.pop_back();
  }
  ::LeaveCriticalSection(&lock_);
  return taken;
}

void FolderSizeWalk::Work() {
  std::vector<std::wstring> subfolders;
  std::wstring folder;
  while (Take(folder)) {
    subfolders.clear();
    std::uint64_t bytes = 0;
    Enumerate(folder, subfolders, bytes);
    long wake = 0;
    bool last = false;
    {
      Lock lock(lock_);
      bytes_ += bytes;
      ++folders_;
      if (!stop_) {
        for (auto& s : subfolders) queue_.push_back(std::move(s));
        const long added = static_cast<long>(subfolders.size());
        pending_ += added;
        wake = added < idle_ ? added : idle_;
        idle_ -= wake;
      }
      last = --pending_ == 0;
    }
    if (wake > 0) ::ReleaseSemaphore(work_, wake, nullptr);
    if (last) Finish();
  }
}

void FolderSizeWalk::Enumerate(const std::wstring& folder, std::vector<std::wstring>& subfolders,
                               std::uint64_t& bytes) {
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((folder + L"*.*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (IsDotEntry(fd.cFileName)) continue;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction or folder link may lead back up its own tree: the walk
      // would never end. Its target is counted where it really is.
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        subfolders.push_back(folder + fd.cFileName + L"\\");
    } else {
      bytes += (static_cast<std::uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    }
  } while (!stop_ && ::FindNextFileW(find, &fd));
  ::FindClose(find);
}

// Wakes every thread so that each sees the end and leaves, and tells the waiters.
void FolderSizeWalk::Finish() {
  {
    Lock lock(lock_);
    if (!stop_) stop_ = 1;
    queue_.clear();
  }
  ::ReleaseSemaphore(work_, threadCount_, nullptr);
  ::SetEvent(done_);
}

std::uint64_t FolderSize(const std::wstring& path) {
  FolderSizeWalk walk(path);
  if (!walk.Start()) return 0;
  walk.Wait(INFINITE);
  return walk.Bytes();
}

}  // namespace ferlane
