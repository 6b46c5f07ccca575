// "&Rétablir le bureau et les programmes", from the toolbar and the "&Action"
// menu, on every tab: the items selected on tab 4, or, when none is, the
// whole store once the user said so. Never nothing without a word.
#include "app/MainWindow.h"

#include "commandline/StoreRestore.h"
#include "commandline/logic/CommandLine.h"
#include "platform/ErrorText.h"
#include "platform/Messages.h"

namespace ferlane {
namespace {

constexpr wchar_t kRestoreAllQuestion[] =
    L"Aucun \u00E9l\u00E9ment n'est s\u00E9lectionn\u00E9 dans l'onglet 4. R\u00E9tablir tout le contenu de la "
    L"r\u00E9serve ?";

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += (text.empty() ? L"" : L"\r\n") + line;
  return text;
}

}  // namespace

void Tficheprincipale::SpeedButton5Click() {
  if (hiddenStore_.HasSelection()) return hiddenStore_.SpeedButton5Click();
  if (!AskYesNo(hwnd_, kRestoreAllQuestion)) return;
  // As /retablir does: every item the store holds, never over a name the
  // user's folders hold; what stays is named.
  const StorePaths store{shellFolders_.StorePath(StoreFolder::Desktop), shellFolders_.StorePath(StoreFolder::Programs)};
  const WholeStoreRestore restore =
      RestoreWholeStore(store, {shellFolders_.FolderPath(ShellFolder::PersonalDesktop),
                                shellFolders_.FolderPath(ShellFolder::PersonalPrograms)});
  hiddenStore_.RelistAfterRestore();
  if (!restore.unreadable.empty()) {
    ShowError(hwnd_, UnreadableLine(restore.unreadable, SystemErrorText(restore.error)));
    return;
  }
  const Report report = RestoreReport(
      restore.outcomes, [](std::uint32_t code) { return SystemErrorText(code); }, false);
  RecordWholeRestore(trail_, store, restore.outcomes, report);
  ShowMessage(hwnd_, Joined(report.lines),
              MB_OK | (report.exitCode == kExitDone ? MB_ICONINFORMATION : MB_ICONWARNING));
}

}  // namespace ferlane
