#pragma once
// Holding a mouse button on a widget for a while, as the auto-repeat tests do.

#include <QElapsedTimer>
#include <QWidget>
#include <functional>

// Processes events until the given number of milliseconds after the clock's
// start; tells whether the event loop ran without a stall of more than 30 ms.
bool ProcessEventsUntil(qint64 milliseconds, const QElapsedTimer& clock);

// Presses the mouse button on the widget, processes events until the given
// number of milliseconds after the clock's start, and releases it there. Tells
// whether the event loop ran without a stall of more than 30 ms: on a machine
// busy enough to stall it, timer counts say nothing about the button.
bool HoldButton(QWidget* widget, Qt::MouseButton button, qint64 milliseconds, const QElapsedTimer& clock,
                QPoint position = QPoint());

// Runs a timed hold until one runs without stalls (at most five tries); false
// when the machine never let one run cleanly.
bool RetryUntilClean(const std::function<bool()>& attempt);
