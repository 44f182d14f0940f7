#pragma once
// The lock that keeps a second copy of the program from running for the same
// user. It lives beside the user's settings, the one thing two copies would
// fight over, so it does not depend on which runtime folder a start happens to
// be given. The lock goes with the process: a crashed run leaves nothing that
// blocks the next start.

#include <QString>

#include <functional>

namespace InstanceLock {

enum class Outcome {
    Held,        // this process holds the lock now
    RunningCopy, // a running copy holds it
    Unavailable, // no lock can be had here at all (why says why)
};

struct Result {
    Outcome outcome = Outcome::Unavailable;
    QString why;
};

// Where the lock file lives.
QString path();

// Takes the lock in `file` and keeps it until the process ends. A second call
// for the same file in one process finds it held, as another copy would.
Result acquire(const QString &file = path());

// Replaces the call that takes the lock of an open file (0, or -1 with errno
// set), for tests; empty restores flock().
void setLockCall(std::function<int(int fd)> call);

} // namespace InstanceLock
