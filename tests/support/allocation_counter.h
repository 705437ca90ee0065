#pragma once
// Calls of the global operator new in this test program so far. A test program that
// calls this gets the counting replacement of operator new (allocation_counter.cpp)
// linked in from the support library; programs that don't keep the standard one.
long AllocationCount();
