#pragma once

#include <QString>

// The program's identity, from one place: the version comes from CMake.
namespace AppInfo {
QString title();          // "Tavik Configuration Manager"
QString versionText();    // major.minor.revision, plain decimals
QString companyName();
QString legalCopyright();
QString composeTitleVersion(); // title + " v" + major.minor.revision
} // namespace AppInfo
