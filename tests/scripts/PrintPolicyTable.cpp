// Prints the program's table of policies, one line each: value name, kind
// ("text" or "number"), minimum and maximum, for check-policy-templates.py
// to compare with the administrative templates.
#include <cstdio>
#include <string>

#include "policies/logic/Policies.h"

int main() {
  for (const ferlane::PolicyRule& rule : ferlane::kPolicyTable) {
    std::string name;
    for (const wchar_t* c = rule.valueName; *c; ++c) name += static_cast<char>(*c);  // value names are ASCII
    const bool text = rule.kind == ferlane::PolicyKind::Text;
    std::printf("%s %s %u %u\n", name.c_str(), text ? "text" : "number", static_cast<unsigned>(rule.minimum),
                static_cast<unsigned>(rule.maximum));
  }
  return 0;
}
