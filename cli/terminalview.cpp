#include "terminalview.h"

#include "config/relayconfig.h"

#include <QRegularExpression>
#include <QTextStream>

void TerminalView::setStatusText(const QString &text)
{
    m_statusText = text;
    if (!text.isEmpty())
        QTextStream(stderr) << text << '\n';
}

void TerminalView::setActionText(const QString &text)
{
    // Only the whole-table commands name a relay in their action text; the
    // texts that end a dialogue say nothing a terminal user needs.
    static const QRegularExpression relayStep(QStringLiteral("^(Reading|Programming) relay (\\d+)$"));
    const QRegularExpressionMatch match = relayStep.match(text);
    if (match.hasMatch())
        QTextStream(stderr) << text << " of " << RelayCount << "...\n";
}
