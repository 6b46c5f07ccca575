// The stored password value on any text: read as none, plain or one of the
// two hash forms; a hash reads back to the same text and within the limits;
// checking it never crashes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "password/logic/PasswordHash.h"

namespace {

using ferlane::StoredPassword;

std::string Argon2Text(const StoredPassword& p) {
  // The lanes are not kept: the parse took them as the digits after ",p=".
  return "$argon2id$v=19$m=" + std::to_string(p.cost.memoryKiB) + ",t=" + std::to_string(p.cost.passes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::wstring value;
  for (std::size_t i = 0; i + 1 < size; i += 2) value.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  // Plain ASCII input as well, so the fuzzer reaches the hash forms quickly.
  std::wstring ascii(data, data + size);
  for (const std::wstring* v : {&value, &ascii}) {
    const StoredPassword parsed = ferlane::ParseStoredPassword(*v);
    using Kind = StoredPassword::Kind;
    const std::string tail = "$" + ferlane::Base64Encode(parsed.salt) + "$" + ferlane::Base64Encode(parsed.hash);
    const std::string narrow(v->begin(), v->end());
    switch (parsed.kind) {
      case Kind::None:
        if (!v->empty()) std::abort();
        break;
      case Kind::Plain:
        if (parsed.plain != *v || !ferlane::StoredPasswordMatches(*v, *v)) std::abort();
        break;
      case Kind::Pbkdf2:
        if (parsed.iterations == 0 || parsed.iterations > ferlane::kMaxPbkdf2Iterations) std::abort();
        if (parsed.hash.size() != ferlane::kPbkdf2HashBytes) std::abort();
        if ("$pbkdf2-sha256$i=" + std::to_string(parsed.iterations) + tail != narrow) std::abort();
        // Only cheap hashes are checked: the iteration count is the input's.
        if (parsed.iterations <= 4) ferlane::StoredPasswordMatches(*v, L"x");
        break;
      case Kind::Argon2id: {
        const std::uint64_t work = std::uint64_t{parsed.cost.passes} * parsed.cost.memoryKiB;
        if (parsed.cost.passes == 0 || parsed.cost.memoryKiB < 8 || work > ferlane::kMaxArgon2Work) std::abort();
        if (parsed.hash.size() < 16 || parsed.salt.size() < 8) std::abort();
        const std::string head = Argon2Text(parsed) + ",p=";
        if (narrow.compare(0, head.size(), head) != 0 || narrow.size() < tail.size() ||
            narrow.compare(narrow.size() - tail.size(), tail.size(), tail) != 0)
          std::abort();
        if (work <= 64) ferlane::StoredPasswordMatches(*v, L"x");
        break;
      }
    }
  }
  return 0;
}
