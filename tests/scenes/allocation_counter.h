#pragma once
// Calls of the global operator new in this test program so far (the program replaces
// it with a counting one, in allocation_counter.cpp).
long AllocationCount();
