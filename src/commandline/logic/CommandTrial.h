#pragma once
// /essai: a job of the command line asked what it would do, with nothing
// written, moved or hidden. The runner reads what the job would read (the
// policies, the list or the store, each item's state) and these rules say,
// item by item, what the run would make of it, with the run's own summary
// and the exit code the run would end with for what is known without trying.
#include <string>
#include <vector>

#include "commandline/logic/CommandLine.h"

namespace ferlane {

// The first line of every trial: nothing of what follows is done.
std::wstring TrialHeaderLine(CommandAction action);

// Where the list a trial reads comes from.
enum class ListSource { BesideProgram, PolicyFolder, Given };
std::wstring ListUsedLine(ListSource source, const std::wstring& path);

// How a list would reach the policy's folder: moved, or copied when the one
// beside the program cannot be removed from there (it then stays, unused).
enum class ListArrival { Moved, Copied };
std::wstring ListArrivalLine(const std::wstring& from, const std::wstring& to, ListArrival arrival);
// A list an earlier version left elsewhere, that the run would move beside
// the program first.
std::wstring OlderListLine(const std::wstring& from, const std::wstring& to);
// The policy's folder does not exist yet: the run would make it.
std::wstring FolderWouldBeMadeLine(const std::wstring& folder);

// What the run would make of one listed item, from the state it holds now.
enum class ItemPlan { WouldChange, AlreadyDone, Missing, Unusable };
ItemPlan PlanListItem(CommandAction action, const ItemOutcome& now);

// The trial of /cacher or /voir: outcomes hold each item's state as read,
// nothing written; a missing item's reason is its error, as in the run.
Report TrialListReport(CommandAction action, const std::wstring& listFile, const std::vector<ItemOutcome>& outcomes,
                       const ReasonText& reason, const std::vector<std::wstring>& strays = {},
                       const std::vector<std::wstring>& words = {});

// The trial of /retablir: each store's outcome as the restore would leave it
// (`restored` what would come back, `nameTaken` what a taken name would keep
// in the store, `stranded` the full paths an older store would keep, `all`
// with destinationError what a missing destination would keep).
Report TrialRestoreReport(const std::vector<StoreOutcome>& stores, const ReasonText& reason);

}  // namespace ferlane
