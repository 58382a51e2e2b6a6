#include "base/safesave.h"

#include <QFileInfo>
#include <QSaveFile>

SafeSave SafeSave::write(const QString &path, const QByteArray &contents)
{
    // QSaveFile follows links by itself and renames over whatever it finds
    // at their end: that is checked here first.
    const QFileInfo named(path);
    if (named.isSymLink()) {
        const QFileInfo target(named.canonicalFilePath());
        if (!target.exists() || !target.isFile())
            return {Outcome::NotRegularFile, QStringLiteral("a link to something that is not a regular file"),
                    named.symLinkTarget()};
    } else if (named.exists() && !named.isFile()) {
        return {Outcome::NotRegularFile, QStringLiteral("not a regular file")};
    }

    // Unbuffered, because Qt 6.4's commit() loses an error from the flush it
    // does itself and would put a cut-short file in place of the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {Outcome::OpenFailed, file.errorString()};
    if (named.exists())
        keepOwnerAndMode(file.handle(), named.canonicalFilePath());
    if (file.write(contents) != contents.size()) {
        const SafeSave failed{Outcome::WriteFailed, file.errorString()};
        file.cancelWriting();
        return failed;
    }
    if (!file.commit())
        return {file.error() == QFileDevice::WriteError ? Outcome::WriteFailed : Outcome::ReplaceFailed,
                file.errorString()};
    return {Outcome::Saved, {}};
}

SafeSave SafeSave::unwritten(const QString &error)
{
    return {Outcome::OpenFailed, error};
}

QString SafeSave::message(const QString &name) const
{
    switch (m_outcome) {
    case Outcome::Saved:
        break;
    case Outcome::NotRegularFile:
        return m_linkTarget.isEmpty()
                   ? tr("%1 is not a regular file; it was left as it is").arg(name)
                   : tr("%1 is a link to %2, which is not a regular file; it was left as it is")
                         .arg(name, m_linkTarget);
    case Outcome::OpenFailed:
        return tr("%1 could not be written: %2").arg(name, m_error);
    case Outcome::WriteFailed:
    case Outcome::ReplaceFailed:
        return tr("%1 could not be written (%2); the file there is unchanged").arg(name, m_error);
    }
    return {};
}
