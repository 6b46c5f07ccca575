#pragma once
// Values as the previous version stored them (PBKDF2-HMAC-SHA-256, 1,000
// iterations, salt "0123456789abcdef"), made by that version's own code: what
// users upgrading bring along.
namespace ferlane::samples {

// The password "Sésame".
inline constexpr wchar_t kPbkdf2Sesame[] =
    L"$pbkdf2-sha256$i=1000$MDEyMzQ1Njc4OWFiY2RlZg$IVWZcLtK4AlaDHJuaPK0PevJPpuJLIwKOqqQcJWR9Dw";
// The password "Clé".
inline constexpr wchar_t kPbkdf2Cle[] =
    L"$pbkdf2-sha256$i=1000$MDEyMzQ1Njc4OWFiY2RlZg$40/rf56czLQMO3OJ36bsI0B45UkGMLREpBoz3+2gw30";
// The password "Sésame" at that version's own cost, 600,000 iterations.
inline constexpr wchar_t kPbkdf2SesameFullCost[] =
    L"$pbkdf2-sha256$i=600000$ZmVkY2JhOTg3NjU0MzIxMA$vRmyo2WayRC+mpBjuRal5B4eIN9axU0UQDnEBR/dyjM";

}  // namespace ferlane::samples
