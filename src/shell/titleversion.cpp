#include "shell/titleversion.h"

QString TitleVersion;
