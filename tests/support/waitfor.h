#pragma once
// Waiting on a condition with a deadline, the event loop running meanwhile, and
// a record of the pointer events the program has been handed, for end-to-end
// steps that must wait until the program has seen what the test did.

#include <QObject>
#include <QPointF>

#include <functional>

// Runs the event loop until `condition` holds or `timeoutMs` has passed;
// returns whether it holds.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 15000);

// Counts the mouse presses, releases and moves the application receives, and
// keeps where the last one happened (global coordinates).
class PointerLog : public QObject
{
public:
    PointerLog();
    ~PointerLog() override;
    int presses = 0;
    int releases = 0;
    int moves = 0;
    QPointF lastGlobal;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
