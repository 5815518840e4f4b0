// The date gate shared by the start-up checks: a check runs only when the date stored under its
// registry value is earlier than today, and then stores today + its waiting period.
#pragma once

#include "recorder/settings/SettingsValues.h"

#include <QDate>

#include <functional>
#include <string>

// A date as the gates store and compare it: "%Y%m%d" read as a number (20131230).
int DateNumber(const QDate& date);

// Runs the gate for `valueName` of the recorder's key on `today`. When it opens, `waitingDays`
// runs (it may do the check's work) and gives the days to wait; today + those days is stored.
// Returns 1 when the gate opened, else 0. Waiting periods are held to 0..3650 days so the stored
// value stays a date.
int RunDateGate(const std::string& valueName, const QDate& today, const std::function<int()>& waitingDays);

// True when the gate for `valueName` would open on `today`; reads only (from `stored`).
bool DateGateDue(const std::string& valueName, const QDate& today,
                 const StoredSettings& stored = StoredSettings::Read());
