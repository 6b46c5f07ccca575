#pragma once
// What an administrator imposes through Group Policy: values under
// Software\Policies\Ferlane, the machine's (HKEY_LOCAL_MACHINE) before the
// user's (HKEY_CURRENT_USER). kPolicyTable names every value the program
// reads; the administrative templates (policies/Ferlane.admx) name the same
// ones, and a test holds the two together.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ferlane {

inline constexpr wchar_t kPoliciesKey[] = L"Software\\Policies\\Ferlane";

enum class PolicyId { ListFolder, MinPasswordLength, LockSettings, EventLog };
// Text: REG_SZ or REG_EXPAND_SZ; Number: REG_DWORD.
enum class PolicyKind { Text, Number };

struct PolicyRule {
  PolicyId id;
  const wchar_t* valueName;
  const wchar_t* caption;  // as the templates and the window name it
  PolicyKind kind;
  // A number's range (a stored one above it counts as the maximum) and the
  // value when neither level sets it.
  std::uint32_t minimum, maximum, fallback;
};

inline constexpr PolicyRule kPolicyTable[] = {
    {PolicyId::ListFolder, L"ListFolder", L"Dossier des listes", PolicyKind::Text, 0, 0, 0},
    {PolicyId::MinPasswordLength, L"MinPasswordLength", L"Longueur minimale du mot de passe", PolicyKind::Number, 0,
     64, 0},
    {PolicyId::LockSettings, L"LockSettings", L"R\u00E9glages impos\u00E9s", PolicyKind::Number, 0, 1, 0},
    {PolicyId::EventLog, L"EventLog", L"Journal des \u00E9v\u00E9nements", PolicyKind::Number, 0, 1, 1},
};

// The values of one level (the machine's or the user's), as the registry
// holds them: nothing when the value is absent or of another type.
class IPolicyLevel {
 public:
  virtual ~IPolicyLevel() = default;
  virtual std::optional<std::wstring> Text(const wchar_t* valueName) const = 0;
  virtual std::optional<std::uint32_t> Number(const wchar_t* valueName) const = 0;
};

struct Policies {
  // The folder of every user's list file, its environment variables
  // expanded; empty: beside the program, as without a policy.
  std::wstring listFolder;
  // A new password shorter than this (in characters) is refused; above 0
  // the empty password too.
  std::uint32_t minPasswordLength = 0;
  // Tab 3's four shell settings are shown but cannot be changed.
  bool lockSettings = false;
  // Each run that changes something writes an event to the Application log.
  bool eventLog = true;
};

// Each value from the machine's level when it holds one of the right type,
// else from the user's, else the table's fallback; an empty text is no value.
Policies ResolvePolicies(const IPolicyLevel& machine, const IPolicyLevel& user);

// A folder a policy may name: a drive's ("C:\...") or a share's
// ("\\server\share..."); a relative path would depend on where the program
// was started from.
bool IsAbsoluteFolder(std::wstring_view folder);

// The user's list file: named after the user, in the policy's folder when
// one is set, else beside the program (programFolder).
std::wstring UserListPath(const Policies& policies, const std::wstring& programFolder, const std::wstring& userName);

// The French line that refuses a new password shorter than the minimum, or
// nothing when `typed` is long enough. Characters are counted as the user
// sees them: a pair of UTF-16 surrogates is one.
std::optional<std::wstring> ShortPasswordText(std::wstring_view typed, std::uint32_t minLength);

}  // namespace ferlane
