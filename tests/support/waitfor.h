#pragma once
// Waiting on a condition with a deadline, the event loop running meanwhile.

#include <functional>

// Runs the event loop until `condition` holds or `timeoutMs` has passed;
// returns whether it holds.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000);
