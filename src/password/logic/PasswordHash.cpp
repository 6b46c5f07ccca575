#include "password/logic/PasswordHash.h"

#include <sodium.h>

#include <cstdint>
#include <cstring>

#include "platform/logic/Utf8.h"

namespace ferlane {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::wstring_view kPbkdf2Prefix = L"$pbkdf2-sha256$i=";
constexpr std::wstring_view kArgon2Prefix = L"$argon2id$v=19$m=";

// libsodium picks its fastest code for this processor once, before any use.
bool SodiumReady() {
  static const bool ready = sodium_init() >= 0;
  return ready;
}

// A positive decimal without leading zeros, at most max, read from text at
// pos; pos then points past it.
bool ReadNumber(const std::wstring& text, std::size_t& pos, std::uint64_t max, std::uint64_t& value) {
  const std::size_t from = pos;
  value = 0;
  for (; pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9'; ++pos) {
    value = value * 10 + static_cast<std::uint64_t>(text[pos] - L'0');
    if (value > max) return false;
  }
  return pos > from && value > 0 && (pos - from == 1 || text[from] != L'0');
}

bool Expect(const std::wstring& text, std::size_t& pos, std::wstring_view what) {
  if (text.compare(pos, what.size(), what) != 0) return false;
  pos += what.size();
  return true;
}

// "<salt>$<hash>" from pos to the end: printable ASCII, strict base64.
bool ReadSaltAndHash(const std::wstring& text, std::size_t pos, std::string& salt, std::string& hash) {
  const std::size_t saltEnd = text.find(L'$', pos);
  if (saltEnd == std::wstring::npos) return false;
  auto ascii = [&](std::size_t from, std::size_t to, std::string& out) {
    out.clear();
    for (std::size_t i = from; i < to; ++i) {
      if (text[i] <= 0 || text[i] > 0x7E) return false;
      out += static_cast<char>(text[i]);
    }
    return true;
  };
  std::string saltText, hashText;
  return ascii(pos, saltEnd, saltText) && ascii(saltEnd + 1, text.size(), hashText) &&
         Base64Decode(saltText, salt) && Base64Decode(hashText, hash) && salt.size() >= 8;
}

bool ParsePbkdf2(const std::wstring& value, StoredPassword& out) {
  std::size_t pos = 0;
  std::uint64_t iterations = 0;
  if (!Expect(value, pos, kPbkdf2Prefix) || !ReadNumber(value, pos, kMaxPbkdf2Iterations, iterations) ||
      !Expect(value, pos, L"$") || !ReadSaltAndHash(value, pos, out.salt, out.hash) ||
      out.hash.size() != kPbkdf2HashBytes)
    return false;
  out.iterations = static_cast<std::uint32_t>(iterations);
  return true;
}

// Accepts only what libsodium's own check reads, so a value taken as Argon2id
// can always be checked.
bool ParseArgon2id(const std::wstring& value, StoredPassword& out) {
  std::size_t pos = 0;
  std::uint64_t memory = 0, passes = 0, lanes = 0;
  if (!Expect(value, pos, kArgon2Prefix) || !ReadNumber(value, pos, kMaxArgon2MemoryKiB, memory) ||
      !Expect(value, pos, L",t=") || !ReadNumber(value, pos, kMaxArgon2Work, passes) ||
      !Expect(value, pos, L",p=") || !ReadNumber(value, pos, 255, lanes) || !Expect(value, pos, L"$") ||
      !ReadSaltAndHash(value, pos, out.salt, out.hash))
    return false;
  if (out.hash.size() < 16 || memory < 8 * lanes || passes * memory > kMaxArgon2Work) return false;
  out.cost = {static_cast<std::uint32_t>(passes), static_cast<std::uint32_t>(memory)};
  return true;
}

}  // namespace

std::string Pbkdf2HmacSha256(std::string_view password, std::string_view salt, std::uint32_t iterations,
                             std::size_t length) {
  SodiumReady();
  // The keyed state is made once and copied for each of the many MACs.
  crypto_auth_hmacsha256_state keyed;
  crypto_auth_hmacsha256_init(&keyed, reinterpret_cast<const unsigned char*>(password.data()), password.size());
  std::string result;
  for (std::uint32_t block = 1; result.size() < length; ++block) {
    std::string first(salt);
    for (int i = 3; i >= 0; --i) first += static_cast<char>((block >> (8 * i)) & 0xFF);
    unsigned char u[crypto_auth_hmacsha256_BYTES], t[crypto_auth_hmacsha256_BYTES];
    crypto_auth_hmacsha256_state state = keyed;
    crypto_auth_hmacsha256_update(&state, reinterpret_cast<const unsigned char*>(first.data()), first.size());
    crypto_auth_hmacsha256_final(&state, u);
    std::memcpy(t, u, sizeof t);
    for (std::uint32_t i = 1; i < iterations; ++i) {
      state = keyed;
      crypto_auth_hmacsha256_update(&state, u, sizeof u);
      crypto_auth_hmacsha256_final(&state, u);
      for (std::size_t j = 0; j < sizeof t; ++j) t[j] ^= u[j];
    }
    result.append(reinterpret_cast<const char*>(t), sizeof t);
  }
  result.resize(length);
  return result;
}

std::string PasswordBytes(const std::wstring& password) {
  std::string out;
  // At most three bytes a unit: the buffer never moves, leaving no copy.
  out.reserve(password.size() * 3 + 32);
  for (std::size_t i = 0; i < password.size(); ++i) AppendUtf8CodePoint(NextCodePoint(password, i), out);
  return out;
}

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  std::uint32_t acc = 0;
  int bits = 0;
  for (unsigned char c : bytes) {
    acc = (acc << 8) | c;
    bits += 8;
    while (bits >= 6) out += kAlphabet[(acc >> (bits -= 6)) & 0x3F];
  }
  if (bits > 0) out += kAlphabet[(acc << (6 - bits)) & 0x3F];
  return out;
}

bool Base64Decode(std::string_view text, std::string& bytes) {
  bytes.clear();
  if (text.size() % 4 == 1) return false;
  std::uint32_t acc = 0;
  int bits = 0;
  for (char c : text) {
    const char* at = c ? std::strchr(kAlphabet, c) : nullptr;
    if (!at) return false;
    acc = (acc << 6) | static_cast<std::uint32_t>(at - kAlphabet);
    bits += 6;
    if (bits >= 8) bytes += static_cast<char>((acc >> (bits -= 8)) & 0xFF);
  }
  // Left-over bits must be zero, so each text has one reading.
  return (acc & ((1u << bits) - 1)) == 0;
}

StoredPassword ParseStoredPassword(const std::wstring& value) {
  StoredPassword result;
  if (value.empty()) return result;
  if (ParsePbkdf2(value, result)) {
    result.kind = StoredPassword::Kind::Pbkdf2;
  } else if (ParseArgon2id(value, result)) {
    result.kind = StoredPassword::Kind::Argon2id;
  } else if (value.starts_with(L"$argon2") || value.starts_with(L"$pbkdf2-")) {
    // Read as a plain password, a damaged hash would open with its own text.
    result = StoredPassword{};
    result.kind = StoredPassword::Kind::Damaged;
  } else {
    result = StoredPassword{};
    result.kind = StoredPassword::Kind::Plain;
    result.plain = value;
  }
  return result;
}

std::optional<std::wstring> HashPassword(const std::wstring& password, PasswordCost cost) {
  // A 32-bit size could not even say the memory.
  if (!SodiumReady() || cost.memoryKiB > SIZE_MAX / 1024) return std::nullopt;
  std::string bytes = PasswordBytes(password);
  char text[crypto_pwhash_STRBYTES];
  const int refused = crypto_pwhash_str_alg(text, bytes.data(), bytes.size(), cost.passes,
                                            std::size_t{cost.memoryKiB} * 1024, crypto_pwhash_ALG_ARGON2ID13);
  WipeText(bytes);
  if (refused != 0) return std::nullopt;
  const std::string_view made(text);
  return std::wstring(made.begin(), made.end());
}

bool StoredPasswordMatches(const std::wstring& stored, const std::wstring& typed) {
  const StoredPassword parsed = ParseStoredPassword(stored);
  switch (parsed.kind) {
    case StoredPassword::Kind::None: return typed.empty();
    case StoredPassword::Kind::Plain: return typed == parsed.plain;
    case StoredPassword::Kind::Damaged: return false;
    case StoredPassword::Kind::Pbkdf2: {
      std::string bytes = PasswordBytes(typed);
      const std::string hash = Pbkdf2HmacSha256(bytes, parsed.salt, parsed.iterations, kPbkdf2HashBytes);
      WipeText(bytes);
      // The same time whatever the first wrong byte.
      return crypto_verify_32(reinterpret_cast<const unsigned char*>(hash.data()),
                              reinterpret_cast<const unsigned char*>(parsed.hash.data())) == 0;
    }
    case StoredPassword::Kind::Argon2id: break;
  }
  if (!SodiumReady()) return false;
  const std::string text(stored.begin(), stored.end());  // checked to be ASCII
  std::string bytes = PasswordBytes(typed);
  const bool matches = crypto_pwhash_str_verify(text.c_str(), bytes.data(), bytes.size()) == 0;
  WipeText(bytes);
  return matches;
}

void WipeText(std::string& text) {
  text.resize(text.capacity());
  sodium_memzero(text.data(), text.size());
  text.clear();
}

void WipeText(std::wstring& text) {
  text.resize(text.capacity());
  sodium_memzero(text.data(), text.size() * sizeof(wchar_t));
  text.clear();
}

}  // namespace ferlane
