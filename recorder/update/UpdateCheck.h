// The update check: fetch the version description, compare it with the program's own version,
// offer the patch, and learn how many days to wait before the next check. Blocks the calling
// (GUI) thread for at most a few seconds per request.
#pragma once

#include "recorder/update/VersionFile.h"

#include <QString>

class QWidget;

// The program's own file version without its dots: "1.0.2.0" → 1020.
int OwnVersionNumber();

// Runs the check; returns the "holddate" days of the description (0 when none arrived).
int UpdateCheck(QWidget* parent);

// Downloads the patch the description names into `folder` and starts it with "-S" in the
// working folder ".". Refuses (downloads and runs nothing) a file name that is not a plain name
// and an address that is not HTTPS. False when nothing was started.
bool DownloadAndStartPatch(const VersionInfo& info, const QString& folder);

// Whether the description names a patch that DownloadAndStartPatch would fetch.
bool IsUsablePatch(const VersionInfo& info);
