#include "recordingview.h"

void RecordingView::setStatusText(const QString &text)
{
    statusText = text;
    m_calls << QStringLiteral("status ") + text;
}

void RecordingView::setActionText(const QString &text)
{
    actionText = text;
    m_calls << QStringLiteral("action ") + text;
}

void RecordingView::setActionVisible(bool visible)
{
    actionVisible = visible;
    m_calls << QStringLiteral("actionVisible ") +
                   (visible ? QStringLiteral("true") : QStringLiteral("false"));
}

void RecordingView::setProgressValue(double value)
{
    m_progress = value;
    m_calls << QStringLiteral("progress ") + QString::number(value, 'f', 3);
    if (onProgress)
        onProgress(value);
}

void RecordingView::enableReadProg(bool enabled)
{
    readProgEnabled = enabled;
    m_calls << QStringLiteral("enable ") + (enabled ? QStringLiteral("true") : QStringLiteral("false"));
}

void RecordingView::showRelayMode(int relayMode)
{
    m_relayMode = relayMode;
    m_calls << QStringLiteral("relayMode ") + QString::number(relayMode);
}

void RecordingView::showInputMode(int inputMode)
{
    m_inputMode = inputMode;
    m_calls << QStringLiteral("inputMode ") + QString::number(inputMode);
}

void RecordingView::showInputState(int input, bool inMap)
{
    m_inputs.at(size_t(input)) = inMap;
    m_calls
        << QStringLiteral("input %1 %2").arg(input).arg(inMap ? QStringLiteral("in") : QStringLiteral("out"));
}

void RecordingView::showClosureTime(const RelayConfig &relay)
{
    closureTime = QStringLiteral("%1 %2 %3.%4")
                      .arg(relay.Hours)
                      .arg(relay.Minutes)
                      .arg(relay.Seconds)
                      .arg(relay.Hundredths, 2, 10, QLatin1Char('0'));
    m_calls << QStringLiteral("closureTime ") + closureTime;
}

void RecordingView::showPCControl(bool underPCControl)
{
    pcControlBox = underPCControl;
    m_calls << QStringLiteral("pcControl ") +
                   (underPCControl ? QStringLiteral("true") : QStringLiteral("false"));
}

QStringList RecordingView::calls(const QStringList &kinds) const
{
    if (kinds.isEmpty())
        return m_calls;
    QStringList selected;
    for (const QString &call : m_calls) {
        if (kinds.contains(call.section(u' ', 0, 0)))
            selected << call;
    }
    return selected;
}

QStringList RecordingView::editorCalls() const
{
    return calls({QStringLiteral("relayMode"), QStringLiteral("inputMode"), QStringLiteral("input"),
                  QStringLiteral("closureTime"), QStringLiteral("pcControl")});
}
