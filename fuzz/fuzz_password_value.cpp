// The stored password value on any text: read as none, plain or hash; a
// hash reads back to the same text; checking it never crashes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/logic/PasswordHash.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring value;
  for (std::size_t i = 0; i + 1 < size; i += 2) value.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  // Plain ASCII input as well, so the fuzzer reaches the hash form quickly.
  std::wstring ascii(data, data + size);
  for (const std::wstring* v : {&value, &ascii}) {
    const ferlane::StoredPassword parsed = ferlane::ParseStoredPassword(*v);
    using Kind = ferlane::StoredPassword::Kind;
    if (parsed.kind == Kind::None && !v->empty()) std::abort();
    if (parsed.kind == Kind::Plain && parsed.plain != *v) std::abort();
    if (parsed.kind == Kind::Hashed) {
      if (parsed.iterations == 0 || parsed.iterations > ferlane::kMaxPasswordIterations) std::abort();
      if (parsed.hash.size() != ferlane::kPasswordHashBytes) std::abort();
      const std::string text = "$pbkdf2-sha256$i=" + std::to_string(parsed.iterations) + "$" +
                               ferlane::Base64Encode(parsed.salt) + "$" + ferlane::Base64Encode(parsed.hash);
      if (std::wstring(text.begin(), text.end()) != *v) std::abort();
      // Only cheap hashes are checked: the iteration count is the input's.
      if (parsed.iterations <= 4) ferlane::StoredPasswordMatches(*v, L"x");
    } else {
      if (!ferlane::StoredPasswordMatches(*v, *v)) std::abort();
    }
  }
  return 0;
}
