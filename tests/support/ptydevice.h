#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <functional>
#include <memory>

// A scripted device on a raw pseudo-terminal's master, served on the test's own
// thread: it answers while the code under test waits in its event loops.
class PtyDevice : public QObject
{
    Q_OBJECT
public:
    // Given each received character, what to send back; the default echoes it.
    using Responder = std::function<QByteArray(char)>;

    PtyDevice();
    ~PtyDevice() override { hangUp(); }

    QString portPath() const { return m_portPath; }

    void setResponder(Responder responder) { m_responder = std::move(responder); }
    void send(const QByteArray &bytes);
    void hangUp(); // as an unplugged adapter does

    QByteArray received() const { return m_received; }

private:
    void readAvailable();

    int m_master = -1, m_keepOpen = -1;
    QString m_portPath;
    std::unique_ptr<QSocketNotifier> m_notifier;
    Responder m_responder = [](char c) { return QByteArray(1, c); };
    QByteArray m_received;
};
