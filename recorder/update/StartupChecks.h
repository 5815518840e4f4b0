// The three date-gated checks the recorder runs at start-up when the computer is online, in this
// order. Each blocks the GUI thread for at most a few seconds per request.
#pragma once

#include <QDate>
#include <QUrl>

class QWidget;

// "upchkdate": 1 at most once a day (then the caller runs the maker's updater), else 0.
int UpdaterGate();
// "update": 1 when the update check ran (it may offer a patch in a box over `parent`), else 0.
int UpdateCheckGate(QWidget* parent);
// "actionapp": 1 when the page was requested, else 0.
int PageRequestGate();

// True when any of the three would open today; one read of the store. Lets a start with nothing
// due skip asking the system whether it is online.
bool AnyStartupGateDue(const QDate& today);

// The same on a given day.
int UpdaterGate(const QDate& today);
int UpdateCheckGate(QWidget* parent, const QDate& today);
int PageRequestGate(const QDate& today);

// Requests the page and discards it: 1, or 0 after a network error.
int PageRequest(const QUrl& address);
