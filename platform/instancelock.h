#pragma once
// The lock that keeps a second copy of the program from running for the same
// user. It lives beside the user's settings, the one thing two copies would
// fight over, so it does not depend on which runtime folder a start happens to
// be given. The lock goes with the process: a crashed run leaves nothing that
// blocks the next start.

#include <QString>

namespace InstanceLock {

// Takes the lock; true when this process holds it now. When no lock file can
// be had at all the answer is true too: better two copies than none.
bool acquire();

// Where the lock file lives.
QString path();

} // namespace InstanceLock
