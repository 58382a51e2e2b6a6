#pragma once

// Installs the translation of the program's texts, and Qt's own for its
// dialogs and port errors, in the first of the system's languages (LANGUAGE,
// then LC_ALL, LC_MESSAGES, LANG) that has one. English is the language the
// texts are written in: it needs nothing installed, and a person who prefers
// English before another language gets English. Call it once the application
// object exists and before any text is made.
void installTranslations();
