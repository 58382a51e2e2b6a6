// Any bytes as what a serial server sends, through the telnet client in the
// slices ServerControl reads them in, and again cut at a point the input
// chooses: the two must agree, and what the client gives and answers must
// stay within what it was sent.
#include "fuzzentry.h"

#include "link/portchannel.h"
#include "link/telnetclient.h"

namespace
{

// What the client sends to set the line, once: five commands of 10, 7, 7, 7
// and 7 bytes.
constexpr qsizetype SettingsSize = 38;

QByteArray takeInSlices(TelnetClient &client, const QByteArray &bytes, QByteArray &replies)
{
    QByteArray data;
    for (qsizetype at = 0; at < bytes.size(); at += PortChannel::ReceiveBufferSize)
        data += client.receive(bytes.mid(at, PortChannel::ReceiveBufferSize), replies);
    return data;
}

// The data as a server reads it back: IAC IAC is one 0xFF, and without
// binary transmission CR NUL is CR.
QByteArray decodedByServer(const QByteArray &sent, bool binary)
{
    QByteArray data;
    for (qsizetype i = 0; i < sent.size(); ++i) {
        data.append(sent.at(i));
        const bool iac = quint8(sent.at(i)) == 0xff;
        if (iac || (!binary && sent.at(i) == '\r')) {
            if (i + 1 >= sent.size() || sent.at(i + 1) != (iac ? '\xff' : '\0'))
                fuzzFailed("an escape the server cannot read");
            ++i;
        }
    }
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    const qsizetype cut = qsizetype(data[0]) * bytes.size() / 255;

    TelnetClient sliced, cutOnce;
    sliced.opening();
    cutOnce.opening();
    QByteArray slicedReplies, cutReplies;
    const QByteArray slicedData = takeInSlices(sliced, bytes, slicedReplies);
    QByteArray cutData = cutOnce.receive(bytes.left(cut), cutReplies);
    cutData += cutOnce.receive(bytes.mid(cut), cutReplies);

    if (slicedData != cutData || slicedReplies != cutReplies || sliced.fault() != cutOnce.fault() ||
        sliced.settingsAnswered() != cutOnce.settingsAnswered())
        fuzzFailed("the same bytes read in other pieces came out otherwise");
    if (slicedData.size() > bytes.size())
        fuzzFailed("more data characters than bytes received");
    // Every answer is to a command of at least its own length; the settings go once.
    if (slicedReplies.size() > bytes.size() + SettingsSize)
        fuzzFailed("more answered than was received");
    if (sliced.fault() != TelnetClient::Fault::None) {
        QByteArray more;
        if (!sliced.receive(QByteArray("r\xff\xfb\x01", 4), more).isEmpty() || !more.isEmpty())
            fuzzFailed("a client at fault took more");
    }

    // What the tool sends reads back as it was, whatever was negotiated.
    const QByteArray sent = sliced.encode(bytes);
    const bool binary = !sliced.encode(QByteArray("\r", 1)).contains('\0');
    if (decodedByServer(sent, binary) != bytes)
        fuzzFailed("the data sent does not read back as it was");
    return 0;
}
