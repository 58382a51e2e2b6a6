#include "base/appinfo.h"

namespace AppInfo {

QString title()
{
    return QStringLiteral("Tavik Configuration Manager");
}

QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(TAVIK_VERSION_MAJOR).arg(TAVIK_VERSION_MINOR).arg(TAVIK_VERSION_PATCH);
}

QString companyName()
{
    return QStringLiteral("Tavik Controls");
}

QString legalCopyright()
{
    return QStringLiteral("Copyright (C) 2026 Tavik Controls. All rights reserved.");
}

QString composeTitleVersion()
{
    return title() + QStringLiteral(" v") + versionText();
}

} // namespace AppInfo
