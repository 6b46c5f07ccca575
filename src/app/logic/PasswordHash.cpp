#include "app/logic/PasswordHash.h"

#include <array>
#include <cstring>

#include "platform/logic/Utf8.h"

namespace ferlane {
namespace {

constexpr std::uint32_t kK[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

using State = std::array<std::uint32_t, 8>;
constexpr State kInitial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void Compress(State& h, const unsigned char* block) {
  std::uint32_t w[64];
  for (int i = 0; i < 16; ++i)
    w[i] = (std::uint32_t{block[4 * i]} << 24) | (std::uint32_t{block[4 * i + 1]} << 16) |
           (std::uint32_t{block[4 * i + 2]} << 8) | block[4 * i + 3];
  for (int i = 16; i < 64; ++i) {
    std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  std::uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4], f = h[5], g = h[6], k = h[7];
  for (int i = 0; i < 64; ++i) {
    std::uint32_t t1 = k + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kK[i] + w[i];
    std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
    k = g, g = f, f = e, e = d + t1, d = c, c = b, b = a, a = t1 + t2;
  }
  h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e, h[5] += f, h[6] += g, h[7] += k;
}

// Hashes `data` on top of a state that has already taken `done` bytes
// (a multiple of 64); the HMAC keeps its two keyed states this way.
void Finish(State& h, std::string_view data, std::uint64_t done, unsigned char out[32]) {
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  std::size_t n = data.size();
  for (; n >= 64; p += 64, n -= 64) Compress(h, p);
  unsigned char tail[128] = {};
  std::memcpy(tail, p, n);
  tail[n] = 0x80;
  const std::size_t blocks = n + 9 > 64 ? 2 : 1;
  const std::uint64_t bits = (done + data.size()) * 8;
  for (int i = 0; i < 8; ++i) tail[blocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  for (std::size_t i = 0; i < blocks; ++i) Compress(h, tail + 64 * i);
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 4; ++j) out[4 * i + j] = static_cast<unsigned char>(h[i] >> (24 - 8 * j));
}

// The inner and outer states of HMAC for one key, computed once.
struct HmacKey {
  State inner = kInitial, outer = kInitial;
  explicit HmacKey(std::string_view key) {
    unsigned char block[64] = {};
    if (key.size() > 64) {
      std::string digest = Sha256(key);
      std::memcpy(block, digest.data(), 32);
    } else {
      std::memcpy(block, key.data(), key.size());
    }
    unsigned char pad[64];
    for (int i = 0; i < 64; ++i) pad[i] = block[i] ^ 0x36;
    Compress(inner, pad);
    for (int i = 0; i < 64; ++i) pad[i] = block[i] ^ 0x5c;
    Compress(outer, pad);
  }
  void Mac(std::string_view data, unsigned char out[32]) const {
    State h = inner;
    unsigned char mid[32];
    Finish(h, data, 64, mid);
    h = outer;
    Finish(h, std::string_view(reinterpret_cast<const char*>(mid), 32), 64, out);
  }
};

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr wchar_t kPrefix[] = L"$pbkdf2-sha256$i=";

}  // namespace

std::string Sha256(std::string_view data) {
  State h = kInitial;
  unsigned char out[32];
  Finish(h, data, 0, out);
  return std::string(reinterpret_cast<const char*>(out), 32);
}

std::string HmacSha256(std::string_view key, std::string_view data) {
  unsigned char out[32];
  HmacKey(key).Mac(data, out);
  return std::string(reinterpret_cast<const char*>(out), 32);
}

std::string Pbkdf2HmacSha256(std::string_view password, std::string_view salt, std::uint32_t iterations,
                             std::size_t length) {
  const HmacKey key(password);
  std::string result;
  for (std::uint32_t block = 1; result.size() < length; ++block) {
    std::string first(salt);
    for (int i = 3; i >= 0; --i) first += static_cast<char>((block >> (8 * i)) & 0xFF);
    unsigned char u[32], t[32];
    key.Mac(first, u);
    std::memcpy(t, u, 32);
    for (std::uint32_t i = 1; i < iterations; ++i) {
      key.Mac(std::string_view(reinterpret_cast<const char*>(u), 32), u);
      for (int j = 0; j < 32; ++j) t[j] ^= u[j];
    }
    result.append(reinterpret_cast<const char*>(t), 32);
  }
  result.resize(length);
  return result;
}

std::string PasswordBytes(const std::wstring& password) {
  std::string out;
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
  result.kind = StoredPassword::Kind::Plain;
  result.plain = value;
  if (value.compare(0, std::char_traits<wchar_t>::length(kPrefix), kPrefix) != 0) return result;
  std::size_t pos = std::char_traits<wchar_t>::length(kPrefix);
  std::uint64_t iterations = 0;
  std::size_t digits = 0;
  for (; pos < value.size() && value[pos] >= L'0' && value[pos] <= L'9'; ++pos, ++digits) {
    iterations = iterations * 10 + static_cast<std::uint64_t>(value[pos] - L'0');
    if (iterations > kMaxPasswordIterations) return result;
  }
  if (digits == 0 || iterations == 0 || (digits > 1 && value[pos - digits] == L'0')) return result;
  if (pos >= value.size() || value[pos] != L'$') return result;
  const std::size_t saltEnd = value.find(L'$', pos + 1);
  if (saltEnd == std::wstring::npos) return result;
  auto ascii = [&](std::size_t from, std::size_t to, std::string& out) {
    out.clear();
    for (std::size_t i = from; i < to; ++i) {
      if (value[i] <= 0 || value[i] > 0x7E) return false;
      out += static_cast<char>(value[i]);
    }
    return true;
  };
  std::string saltText, hashText, salt, hash;
  if (!ascii(pos + 1, saltEnd, saltText) || !ascii(saltEnd + 1, value.size(), hashText)) return result;
  if (!Base64Decode(saltText, salt) || !Base64Decode(hashText, hash)) return result;
  if (salt.size() < 8 || hash.size() != kPasswordHashBytes) return result;
  result.kind = StoredPassword::Kind::Hashed;
  result.plain.clear();
  result.iterations = static_cast<std::uint32_t>(iterations);
  result.salt = std::move(salt);
  result.hash = std::move(hash);
  return result;
}

std::wstring HashPassword(const std::wstring& password, std::string_view salt, std::uint32_t iterations) {
  const std::string hash = Pbkdf2HmacSha256(PasswordBytes(password), salt, iterations, kPasswordHashBytes);
  const std::string text = "$" + Base64Encode(salt) + "$" + Base64Encode(hash);
  return kPrefix + std::to_wstring(iterations) + std::wstring(text.begin(), text.end());
}

bool StoredPasswordMatches(const std::wstring& stored, const std::wstring& typed) {
  const StoredPassword parsed = ParseStoredPassword(stored);
  switch (parsed.kind) {
    case StoredPassword::Kind::None: return typed.empty();
    case StoredPassword::Kind::Plain: return typed == parsed.plain;
    case StoredPassword::Kind::Hashed: break;
  }
  const std::string hash =
      Pbkdf2HmacSha256(PasswordBytes(typed), parsed.salt, parsed.iterations, kPasswordHashBytes);
  unsigned char diff = 0;  // the same time whatever the first wrong byte
  for (std::size_t i = 0; i < hash.size(); ++i)
    diff |= static_cast<unsigned char>(hash[i] ^ parsed.hash[i]);
  return diff == 0;
}

}  // namespace ferlane
