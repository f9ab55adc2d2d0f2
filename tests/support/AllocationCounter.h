// Counts the heap allocations made through operator new while a Measurement is alive, so a test
// or the benchmark can bound the memory a piece of work takes without timing anything. Linking
// AllocationCounter.cpp replaces the program's global operator new and delete.
#pragma once

#include <cstddef>

namespace allocation_counter {

struct Totals {
    std::size_t allocations = 0; // blocks allocated
    std::size_t bytes = 0;       // bytes allocated in all, freed or not
    std::size_t peak = 0;        // the most bytes held at once beyond what was held at the start
};

// Measurements do not nest.
class Measurement {
  public:
    Measurement();
    ~Measurement();
    Measurement(const Measurement&) = delete;
    Measurement& operator=(const Measurement&) = delete;

    Totals Result() const;
};

} // namespace allocation_counter
