#pragma once

#include <QSerialPort>

// Which port errors mean that the line has gone away. A hung-up terminal
// does not report ResourceError on every system: it keeps the port "open"
// and reports ReadError without end, so read and write failures count too.
bool isConnectionLost(QSerialPort::SerialPortError error);
