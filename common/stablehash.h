#pragma once
// A hash of text that is the same on every machine, compiler and run: 64-bit FNV-1a (Fowler,
// Noll and Vo), over the bytes as they are,
//
//     h = 14695981039346656037;  for each byte b: h = (h xor b) * 1099511628211   (mod 2^64)
//
// The batch of cooling_ages shares groups out over shards by it and tells a group's inputs from
// changed ones by it. It guards against accidents, not against anyone forging a collision.

#include <cstdint>
#include <string>
#include <string_view>

namespace stablehash {

inline constexpr std::uint64_t fnv1aOffset = 14695981039346656037ull;
inline constexpr std::uint64_t fnv1aPrime = 1099511628211ull;

constexpr std::uint64_t fnv1a64(std::string_view text, std::uint64_t hash = fnv1aOffset)
{
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= fnv1aPrime;
    }
    return hash;
}

// The hash as 16 lower-case hexadecimal digits.
inline std::string hexadecimal(std::uint64_t hash)
{
    constexpr char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = digits[hash & 0xf];
    return text;
}

} // namespace stablehash
