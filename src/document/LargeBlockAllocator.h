// An allocator for the few blocks of megabytes that opening a year of books fills at
// once (the journal's entries). Such a block is touched page by page as it is filled;
// where the system offers huge pages, asking for them turns thousands of page faults
// into a few dozen. Small blocks go through the ordinary allocator.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace kivo {

template <class T>
class LargeBlockAllocator {
public:
  using value_type = T;

  LargeBlockAllocator() = default;
  template <class U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept
  {
  }

  T* allocate(size_t n)
  {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    const size_t bytes = n * sizeof(T);
    if (bytes < kLarge) return static_cast<T*>(::operator new(bytes));
    const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    void* p = std::aligned_alloc(kHugePage, rounded);
    if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // A hint: refused, the pages are ordinary ones. The last, partly used stretch
    // keeps ordinary pages, so that only what is used of it is ever resident.
    ::madvise(p, bytes / kHugePage * kHugePage, MADV_HUGEPAGE);
#endif
    return static_cast<T*>(p);
  }

  void deallocate(T* p, size_t n) noexcept
  {
    if (n * sizeof(T) < kLarge)
      ::operator delete(p);
    else
      std::free(p);
  }

  template <class U>
  bool operator==(const LargeBlockAllocator<U>&) const noexcept
  {
    return true;
  }

private:
  static constexpr size_t kHugePage = size_t{2} << 20;
  static constexpr size_t kLarge = 2 * kHugePage;
};

}  // namespace kivo
