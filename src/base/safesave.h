#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Puts a file in place whole or not at all, as editors save: the contents go
// to a file beside the target, which replaces it only once every byte is
// written and flushed. A target that is not a regular file (a device node, a
// folder, a FIFO, or a link to one, or a link to nothing) is refused before
// anything is written, so that no save turns such a node into a file. A file
// saved over keeps its owner and mode where the user may give them; a link
// to a regular file has its target written and stays a link.
class SafeSave
{
    Q_DECLARE_TR_FUNCTIONS(SafeSave)

public:
    enum class Outcome {
        Saved,
        NotRegularFile, // nothing was written
        OpenFailed,     // nothing was written
        WriteFailed,    // a write or the flush failed; the old file is as it was
        ReplaceFailed,  // the new file could not take the old one's place, which is as it was
    };

    static SafeSave write(const QString &path, const QByteArray &contents);
    // A save that failed before its contents were made: OpenFailed, nothing written.
    static SafeSave unwritten(const QString &error);

    Outcome outcome() const { return m_outcome; }
    bool saved() const { return m_outcome == Outcome::Saved; }
    // Why it was not saved, in the system's words (for the error log).
    QString errorString() const { return m_error; }
    // The same for a person: "<name> is not a regular file; ...".
    QString message(const QString &name) const;

private:
    SafeSave(Outcome outcome, const QString &error, const QString &linkTarget = {})
        : m_outcome(outcome), m_error(error), m_linkTarget(linkTarget)
    {
    }

    Outcome m_outcome = Outcome::Saved;
    QString m_error;
    QString m_linkTarget; // where a refused link leads
};

// Gives the file open at `handle` the owner and mode of the file at
// `replaced`, as far as the user may; nothing where the system keeps no such
// thing.
void keepOwnerAndMode(int handle, const QString &replaced);
