#include "base/titleversion.h"

QString TitleVersion;
