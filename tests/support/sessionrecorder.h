#pragma once

#include "dialogues/devicesession.h"

#include <QMetaEnum>
#include <QRegularExpression>
#include <QStringList>

#include <functional>

// The session's signals written down, a line each ("action Relay read",
// "step 3", "read 2 RelayMode -1 9"), and the last status and action text.
class SessionRecorder : public QObject
{
public:
    explicit SessionRecorder(DeviceSession &session)
    {
        using S = DeviceSession;
        const auto number = [this](const char *kind) {
            return [this, kind](int n) { record(kind, QString::number(n)); };
        };
        connect(&session, &S::statusChanged, this,
                [this](const QString &text) { statusText = record("status", text); });
        connect(&session, &S::actionChanged, this,
                [this](const QString &text) { actionText = record("action", text); });
        connect(&session, &S::progress, this, number("done"));
        connect(&session, &S::relayBegun, this, number("begun"));
        connect(&session, &S::stoppedAt, this, number("stopped"));
        connect(&session, &S::dialogueProgress, this, number("step"));
        connect(&session, &S::dialogueProgress, this, [this](int done) { onStep(done); });
        connect(&session, &S::relayValueRead, this, [this](int index, S::ReadField field, int input, int value) {
            const char *name = QMetaEnum::fromType<S::ReadField>().valueToKey(int(field));
            record("read", QStringLiteral("%1 %2 %3 %4").arg(index).arg(QLatin1String(name)).arg(input).arg(value));
        });
    }

    // The lines recorded whose first word is one of these ("action", "step").
    QStringList calls(const QStringList &kinds) const
    {
        return m_calls.filter(QRegularExpression(QStringLiteral("^(%1) ").arg(kinds.join(u'|'))));
    }

    QString statusText;
    QString actionText = QStringLiteral("Waiting for command...");
    // Runs inside the program dialogue as each of its steps is done.
    std::function<void(int)> onStep = [](int) {};

private:
    QString record(const char *kind, const QString &value)
    {
        m_calls << QString::fromLatin1(kind) + u' ' + value;
        return value;
    }

    QStringList m_calls;
};
