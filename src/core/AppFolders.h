#pragma once

#include <QString>

// The folder layout under the common application-data folder shared by every user of the
// workstation. Each function returns an empty text when that folder cannot be obtained.
namespace AppFolders {

// ONDTPC_COMMON_APPDATA when set; else /var/lib when the installed client's
// /var/lib/Brindlecore exists; else the per-user state folder, where Brindlecore is created.
QString commonAppData();

QString dataFolder(const QString &subPath);     // <common>/Brindlecore/<sub>
QString logFolder(const QString &subPath);      // <common>/Brindlecore/<sub>/logs
QString languageFolder(const QString &subPath); // <common>/Brindlecore/<sub>/languages

// The log folder in the user's own state folder, for when the common one cannot be written:
// ${XDG_STATE_HOME:-~/.local/state}/Brindlecore/<sub>/logs; empty without a home folder.
QString userLogFolder(const QString &subPath);

// The sub-path the print client uses under Brindlecore.
inline const QString ClientSubPath = QStringLiteral("ondrel/ondclient/ondtpc");

} // namespace AppFolders
