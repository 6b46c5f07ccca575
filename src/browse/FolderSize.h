#pragma once
// The size of a folder tree: every file below a folder, hidden and system
// ones included. Folders are enumerated, one enumeration each, by a small
// fixed pool of threads, so that a large disk is walked faster than one
// enumeration at a time, and the walk can be watched and stopped.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ferlane {

class FolderSizeWalk {
 public:
  static constexpr int kThreads = 4;

  explicit FolderSizeWalk(std::wstring path, int threads = kThreads);
  ~FolderSizeWalk();  // stops the walk and waits for its threads
  FolderSizeWalk(const FolderSizeWalk&) = delete;
  FolderSizeWalk& operator=(const FolderSizeWalk&) = delete;

  // Starts the threads; false when none could be started (the walk is then
  // done with nothing counted).
  bool Start();
  // Signalled when the walk has finished or stopped.
  HANDLE DoneEvent() const { return done_; }
  // True when the walk ended within ms milliseconds.
  bool Wait(DWORD ms) const;
  // Asks the threads to stop; they end after the entry at hand.
  void Cancel();
  bool Cancelled() const;

  // Totals so far; final once DoneEvent is signalled.
  std::uint64_t Bytes() const;
  std::uint64_t Folders() const;

 private:
  static unsigned __stdcall ThreadMain(void* self);
  void Work();
  // The next folder to enumerate; false once the walk has ended.
  bool Take(std::wstring& folder);
  void Enumerate(const std::wstring& folder, std::vector<std::wstring>& subfolders, std::uint64_t& bytes);
  void Finish();

  std::wstring root_;
  int threadCount_;
  std::vector<HANDLE> threads_;
  mutable CRITICAL_SECTION lock_;
  std::vector<std::wstring> queue_;  // folders waiting to be enumerated
  long pending_ = 0;                 // queued or being enumerated
  long idle_ = 0;                    // threads waiting for a folder
  std::uint64_t bytes_ = 0;
  std::uint64_t folders_ = 0;
  volatile LONG stop_ = 0;
  HANDLE work_ = nullptr;  // semaphore: one count per waiting thread woken
  HANDLE done_ = nullptr;  // manual-reset event
};

// The whole walk, waited for: the byte count of every file below path.
std::uint64_t FolderSize(const std::wstring& path);

}  // namespace ferlane
