#include "AllocationCounter.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace allocation_counter {

namespace {

// Operator new cannot reach an object of its own: the counts are the process's.
bool active = false;
Totals totals;
std::int64_t held = 0;

void Allocated(void* block) {
    if (!active) return;
    const std::size_t size = malloc_usable_size(block);
    ++totals.allocations;
    totals.bytes += size;
    held += static_cast<std::int64_t>(size);
    if (held > static_cast<std::int64_t>(totals.peak)) totals.peak = static_cast<std::size_t>(held);
}

void Freed(void* block) {
    if (active && block) held -= static_cast<std::int64_t>(malloc_usable_size(block));
}

} // namespace

Measurement::Measurement() {
    totals = Totals{};
    held = 0;
    active = true;
}

Measurement::~Measurement() {
    active = false;
}

Totals Measurement::Result() const {
    return totals;
}

} // namespace allocation_counter

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    allocation_counter::Allocated(block);
    return block;
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    allocation_counter::Freed(block);
    std::free(block);
}

void operator delete[](void* block) noexcept {
    operator delete(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    operator delete(block);
}
