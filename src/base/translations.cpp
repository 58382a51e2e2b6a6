#include "base/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void installTranslations()
{
    auto *app = QCoreApplication::instance();
    for (const QString &name : QLocale::system().uiLanguages()) {
        const QLocale language(name);
        if (language.language() == QLocale::English || language.language() == QLocale::C)
            return;
        auto *own = new QTranslator(app);
        if (!own->load(language, QStringLiteral("tavik"), QStringLiteral("_"), QStringLiteral(":/i18n"))) {
            delete own;
            continue;
        }
        QCoreApplication::installTranslator(own);
        // Qt's catalogue may be missing (it is a package of its own); the
        // program's texts stand without it.
        auto *qt = new QTranslator(app);
        if (qt->load(language, QStringLiteral("qt"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(qt);
        else
            delete qt;
        return;
    }
}
