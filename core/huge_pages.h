#pragma once
// Huge pages for large blocks that are filled soon after they are made: one
// page fault per 2 MiB instead of one per 4 KiB, which is most of the cost of
// filling fresh memory here. It is advice only; where the system has none,
// and in sanitizer builds, nothing happens.

#include <cstddef>

inline constexpr size_t kHugePageBytes = size_t{2} << 20;

// True when OfferHugePages can do anything in this build.
bool HugePagesOffered() noexcept;
// Offers huge pages for the whole 2 MiB pages inside [block, block + bytes).
void OfferHugePages(std::byte* block, size_t bytes) noexcept;
