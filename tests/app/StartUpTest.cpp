// The program's start-up order and the claim on the list file, with a
// platform that answers for the token Wine cannot give (a UAC
// administrator's limited one) and names made by other users.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Application.h"
#include "listplace/ListWindowClaim.h"
#include "app/MainWindow.h"
#include "platform/Deadline.h"
#include "platform/AccessLists.h"
#include "platform/UniqueHandle.h"
#include "shellfolders/Folders.h"
#include "support/Fakes.h"

namespace ferlane {
namespace {

class StartUpTest : public testing::Test {
 protected:
  void SetUp() override {
    platform.userName = L"dupont";
    platform.elevatedStartAnswer = ERROR_SUCCESS;
    list = scratch / L"dupont";
  }
  // Runs the start with `commandLine`'s answer; counts the windows opened.
  int Start(std::optional<int> commandLine = std::nullopt) {
    StartSteps steps;
    steps.commandLine = [commandLine] { return commandLine; };
    steps.listFile = list;
    steps.runWindow = [this](const ListWindowClaim& claim) {
      ++windowsOpened;
      EXPECT_TRUE(claim.MayOpen());
      return 0;
    };
    steps.showSplash = [this] {
      ++splashes;
      blockedAtSplash = platform.BlockedLookups().size();
    };
    steps.holderWaitMs = 300;
    return StartProgram(steps);
  }
  bool OpenElsewhereSaid() const {
    return messages.shown.size() == 1 && messages.shown[0].text.find(L"dans une autre session") != std::wstring::npos;
  }

  test::FakePlatform platform;
  test::RecordingMessages messages;
  test::ScratchDir scratch;
  std::wstring list;
  int windowsOpened = 0;
  int splashes = 0;
  std::size_t blockedAtSplash = 0;
};

// A logon script under UAC: the job runs and nothing asks for elevation.
TEST_F(StartUpTest, TheCommandLineRunsBeforeAnyClaimOrElevation) {
  platform.elevation = TokenElevation::Limited;
  EXPECT_EQ(Start(2), 2);
  EXPECT_TRUE(platform.elevatedStarts.empty());
  EXPECT_EQ(windowsOpened, 0);
}

// A limited start looks for the claim and, finding it free, restarts
// elevated without making it: the elevated copy finds it free.
TEST_F(StartUpTest, ALimitedStartOnlyLooksThenElevatesAndTheElevatedCopyHoldsTheList) {
  platform.elevation = TokenElevation::Limited;
  ClaimVerdict elevatedCopy = ClaimVerdict::Free;
  platform.whileStartingElevated = [&] {
    platform.elevation = TokenElevation::Full;
    elevatedCopy = ListWindowClaim(list).Verdict();
    platform.elevation = TokenElevation::Limited;
  };
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(platform.elevatedStarts.size(), 1u);
  EXPECT_EQ(elevatedCopy, ClaimVerdict::Held);
  EXPECT_EQ(windowsOpened, 0);

  platform.elevation = TokenElevation::Full;
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(windowsOpened, 1);
  EXPECT_EQ(platform.elevatedStarts.size(), 1u);
}

// The window is open: a second start, limited or not, brings it forward and
// asks for no elevation. Here the window made the folder of its list (the
// first start under an administrator's folder for the lists): it claimed the
// list by its path, and a second start now knows it by the folder's identity.
TEST_F(StartUpTest, AnOpenWindowIsBroughtForwardBeforeAnyElevationEvenAfterItMadeItsListsFolder) {
  const std::wstring folder = scratch.path() + L"Listes\\POSTE7";
  list = folder + L"\\dupont";
  const ListWindowClaim holder(list);
  Tficheprincipale main(scratch.Folder(L"Outils") + L"\\");
  ASSERT_TRUE(main.Create(::GetModuleHandleW(nullptr)));
  holder.Mark(main.hwnd());
  EXPECT_FALSE(ClaimUnderMadeFolder(holder, list, main.hwnd()).has_value());  // nothing made: one name
  ASSERT_EQ(CreateFolderPath(folder), static_cast<DWORD>(ERROR_SUCCESS));
  const std::optional<ListWindowClaim> made = ClaimUnderMadeFolder(holder, list, main.hwnd());
  ASSERT_TRUE(made.has_value());
  EXPECT_NE(made->Name(), holder.Name());
  ::ShowWindow(main.hwnd(), SW_MINIMIZE);
  platform.elevation = TokenElevation::Limited;
  EXPECT_EQ(Start(), 0);
  EXPECT_TRUE(platform.elevatedStarts.empty());
  EXPECT_EQ(windowsOpened, 0);
  EXPECT_FALSE(::IsIconic(main.hwnd()));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(holder.BringHolderToFront(0));  // a start that looked before the folder was made
}

// The holder has no window this start can reach (another session): one
// French line, a code of its own, and never a second window. The taken
// claim's handle is let go at once, so once the holder closes, the next
// start holds the list even while that one still runs.
TEST_F(StartUpTest, AHolderOutOfReachIsSaidAndNoSecondWindowOpens) {
  auto holder = std::make_unique<ListWindowClaim>(list);
  ASSERT_EQ(holder->Verdict(), ClaimVerdict::Held);
  for (TokenElevation token : {TokenElevation::Full, TokenElevation::Limited}) {
    platform.elevation = token;
    messages.shown.clear();
    EXPECT_EQ(Start(), kExitOpenElsewhere);
    EXPECT_TRUE(OpenElsewhereSaid());
    EXPECT_EQ(windowsOpened, 0);
    EXPECT_TRUE(platform.elevatedStarts.empty());
  }
  platform.elevation = TokenElevation::Full;
  const ListWindowClaim second(list);
  EXPECT_TRUE(second.Taken());
  holder.reset();
  EXPECT_EQ(ListWindowClaim(list).Verdict(), ClaimVerdict::Held);
}

// A list on a server that does not answer: the splash is up before the
// claim asks the folder, which costs the window's deadline once; the window
// then finds the folder unreachable without asking again. A local list
// shows no splash before its claim.
TEST_F(StartUpTest, AListOnAServerShowsTheSplashBeforeItsFolderIsAskedOnce) {
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(splashes, 0);
  platform.silentServers = {L"\\\\eta"};
  list = L"\\\\eta\\listes\\dupont";
  windowsOpened = 0;
  EXPECT_EQ(Start(), 0);
  EXPECT_EQ(splashes, 1);
  EXPECT_EQ(blockedAtSplash, 0u);
  EXPECT_EQ(windowsOpened, 1);
  EXPECT_EQ(FolderAnswers(L"\\\\eta\\listes\\", kCommandLineLookupMs), kNoAnswer);
  EXPECT_EQ(platform.BlockedLookups()[L"\\\\eta"], 1);
}

// A name made in the machine-wide namespace by someone else, each start
// judging it as it can: readable and owned by another user, it is ignored;
// closed to the limited token, only the elevated copy can tell, so a limited
// start looks for the window, finds none and elevates; owned by the
// Administrators, it is an elevated window's and keeps a second one shut.
TEST_F(StartUpTest, ANameAnotherUserMadeDoesNotKeepTheWindowShut) {
  platform.elevation = TokenElevation::Full;
  const std::wstring name = ListWindowClaim(list).Name();
  struct Squat {
    const wchar_t* sddl;
    ClaimVerdict full, limited;
    int startCode;  // of a full start and of a limited one
    bool elevates;  // a limited start asks for elevation
  };
  // Owned by the Users group and open to everyone; owned by the local
  // service account (no group of this token: no owner's right to read it)
  // and open to SYSTEM alone; owned by the Administrators, as an elevated
  // window's name is.
  const Squat squats[] = {
      {L"O:BUD:(A;;GA;;;WD)", ClaimVerdict::Ignored, ClaimVerdict::Ignored, 0, true},
      {L"O:LSD:P(A;;GA;;;SY)", ClaimVerdict::Ignored, ClaimVerdict::Refused, 0, true},
      {L"O:BAD:(A;;GA;;;WD)", ClaimVerdict::Taken, ClaimVerdict::Taken, kExitOpenElsewhere, false},
  };
  ClaimVerdict elevatedCopy = ClaimVerdict::NoClaim;
  platform.whileStartingElevated = [&] {
    platform.elevation = TokenElevation::Full;
    elevatedCopy = ListWindowClaim(list).Verdict();
    platform.elevation = TokenElevation::Limited;
  };
  for (const Squat& squat : squats) {
    SCOPED_TRACE(std::string(squat.sddl, squat.sddl + std::wstring(squat.sddl).size()));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(squat.sddl, SDDL_REVISION_1, &descriptor,
                                                                      nullptr));
    SECURITY_ATTRIBUTES sa{sizeof(sa), descriptor, FALSE};
    HANDLE squatter = ::CreateMutexW(&sa, FALSE, name.c_str());
    ::LocalFree(descriptor);
    ASSERT_NE(squatter, nullptr);
    platform.elevation = TokenElevation::Full;
    EXPECT_EQ(ListWindowClaim(list).Verdict(), squat.full);
    windowsOpened = 0;
    EXPECT_EQ(Start(), squat.startCode);
    EXPECT_EQ(windowsOpened, squat.startCode == 0 ? 1 : 0);

    platform.elevation = TokenElevation::Limited;
    EXPECT_EQ(ListWindowClaim(list).Verdict(), squat.limited);
    platform.elevatedStarts.clear();
    elevatedCopy = ClaimVerdict::NoClaim;
    EXPECT_EQ(Start(), squat.startCode);
    EXPECT_EQ(platform.elevatedStarts.size(), squat.elevates ? 1u : 0u);
    if (squat.elevates) EXPECT_EQ(elevatedCopy, squat.full);
    ::CloseHandle(squatter);
  }
}

// The name the window holds opens to its user, SYSTEM and the
// Administrators and to no one else: read back from the held mutex.
TEST_F(StartUpTest, TheHeldNameOpensToItsUserSystemAndTheAdministratorsOnly) {
  platform.elevation = TokenElevation::Full;
  const ListWindowClaim held(list);
  ASSERT_EQ(held.Verdict(), ClaimVerdict::Held);
  UniqueKernelHandle mutex(::OpenMutexW(READ_CONTROL, FALSE, held.Name().c_str()));
  ASSERT_TRUE(mutex);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_EQ(::GetSecurityInfo(mutex.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor),
            static_cast<DWORD>(ERROR_SUCCESS));
  std::set<std::wstring> allowed;
  ASSERT_NE(dacl, nullptr);  // a null DACL opens to every user
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    ASSERT_TRUE(::GetAce(dacl, i, &ace));
    ASSERT_EQ(static_cast<ACE_HEADER*>(ace)->AceType, ACCESS_ALLOWED_ACE_TYPE);
    wchar_t* text = nullptr;
    ASSERT_TRUE(::ConvertSidToStringSidW(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, &text));
    allowed.insert(text);
    ::LocalFree(text);
  }
  ::LocalFree(descriptor);
  std::vector<BYTE> user = TokenUserSid();
  wchar_t* userText = nullptr;
  ASSERT_TRUE(::ConvertSidToStringSidW(user.data(), &userText));
  const std::set<std::wstring> expected{userText, L"S-1-5-18", L"S-1-5-32-544"};
  ::LocalFree(userText);
  EXPECT_EQ(allowed, expected);
}

}  // namespace
}  // namespace ferlane
