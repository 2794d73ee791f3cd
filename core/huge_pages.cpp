#include "core/huge_pages.h"

#include <cstdint>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CYCLORN_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define CYCLORN_ADDRESS_SANITIZER 1
#endif

// Sanitizer builds keep every block in the sanitizer's own heap, where its
// checks and the leak checker's view of references stay whole.
#if defined(MADV_HUGEPAGE) && !defined(CYCLORN_ADDRESS_SANITIZER)

bool HugePagesOffered() noexcept { return true; }

void OfferHugePages(std::byte* block, size_t bytes) noexcept {
  const auto start = reinterpret_cast<uintptr_t>(block);
  const uintptr_t begin = (start + kHugePageBytes - 1) & ~(kHugePageBytes - 1);
  const uintptr_t end = (start + bytes) & ~(kHugePageBytes - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

#else

bool HugePagesOffered() noexcept { return false; }
void OfferHugePages(std::byte*, size_t) noexcept {}

#endif
