#include "allocation_budget.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_armed{false};
std::atomic<std::size_t> g_left{0};

}  // namespace

AllocationBudget::AllocationBudget(std::size_t bytes)
{
    g_left = bytes;
    g_armed = true;
}

AllocationBudget::~AllocationBudget()
{
    g_armed = false;
}

// Replaces the runtime's operator new for this test program; operator
// delete stays the runtime's, which frees with free().
void* operator new(std::size_t size)
{
    if (g_armed) {
        std::size_t left = g_left.load();
        do {
            if (size > left)
                throw std::bad_alloc();
        } while (!g_left.compare_exchange_weak(left, left - size));
    }
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}
