// The folder the profile dialogs start in: the one a profile was last opened
// from or saved to, kept in profiles.ini in the platform's configuration
// folder for this program (QStandardPaths::AppConfigLocation).
#pragma once

#include <QString>

namespace app {

class ProfileFolder {
public:
    // The folder remembered while it still exists, else the user's documents.
    static QString Last();
    // Remembers the folder of `file`.
    static void Remember(const QString& file);
};

}  // namespace app
