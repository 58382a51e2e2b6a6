#pragma once

#include <QString>

// The caption prefix: title, " v", major.minor.revision. Empty until the
// splash window loads and sets it; it never changes after that.
extern QString TitleVersion;
