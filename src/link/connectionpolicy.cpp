#include "link/connectionpolicy.h"

bool isConnectionLost(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        return true;
    default:
        return false;
    }
}
