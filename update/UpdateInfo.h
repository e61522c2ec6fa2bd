#pragma once
#include "controls/VersionNumber.h"
#include "update/UpdateManifest.h"
#include <string>

// What the update check collects: the manifest's values, the news document and whether
// the manifest names a version newer than the program's.
struct UpdateInfo {
    UpdateManifest manifest;
    // The news document's lines, each followed by a line feed.
    std::string newsText;
    bool updateAvailable = false;
    // The running program's own version, set before the check starts.
    VersionNumber programVersion;
};
