#pragma once

#include <cstddef>

// While an AllocationBudget lives, operator new throws std::bad_alloc once
// the bytes it handed out since the budget began exceed the budget: a small
// address space, on demand, for the one test that needs it.
class AllocationBudget {
public:
    explicit AllocationBudget(std::size_t bytes);
    ~AllocationBudget();
    AllocationBudget(const AllocationBudget&) = delete;
    AllocationBudget& operator=(const AllocationBudget&) = delete;
};
