#include "base/failure.h"

#include "base/errorlog.h"

int failureNumber(Failure failure)
{
    return int(failure);
}

QString failureDescription(Failure failure)
{
    switch (failure) {
    case Failure::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case Failure::PortNumber:
        return QStringLiteral("No serial port has this number");
    case Failure::PortOpen:
        return QStringLiteral("The serial port could not be opened");
    case Failure::PortNotOpen:
        return QStringLiteral("The serial port is not open");
    case Failure::PortWrite:
        return QStringLiteral("Writing to the serial port failed");
    case Failure::PortLost:
        return QStringLiteral("The serial connection was lost");
    case Failure::PortClose:
        return QStringLiteral("The serial port could not be closed");
    case Failure::FileOpen:
        return QStringLiteral("The file could not be opened");
    case Failure::FileRead:
        return QStringLiteral("Reading the file failed");
    case Failure::FileShort:
        return QStringLiteral("The file ends before its last relay line");
    case Failure::FileWrite:
        return QStringLiteral("Writing the file failed");
    case Failure::FileCommit:
        return QStringLiteral("The new file could not replace the old one");
    case Failure::FileDialog:
        return QStringLiteral("The file dialog failed");
    case Failure::DeviceGaveUp:
        return QStringLiteral("Tavik kept answering unexpectedly");
    case Failure::ValueOutOfRange:
        return QStringLiteral("Value out of range");
    case Failure::LineNeverQuiet:
        return QStringLiteral("The line never fell quiet");
    }
    return QStringLiteral("Unknown failure");
}

namespace
{

QString &failureOwner()
{
    static QString owner;
    return owner;
}

} // namespace

void setFailureOwner(const QString &owner)
{
    failureOwner() = owner;
}

QString handlerMessage(int number, const QString &description, const QString &procedure, int step, Module module)
{
    const QString where = !failureOwner().isEmpty() ? QStringLiteral(" of ") + failureOwner() + QStringLiteral(" on line ")
                          : module == Module::Form ? QStringLiteral(" of Form frmMain on line ")
                                                   : QStringLiteral(" of Module modDLG on line ");
    return QStringLiteral("Error ") + QString::number(number) + QStringLiteral(" (") + description +
           QStringLiteral(") in procedure ") + procedure + where + QString::number(step);
}

void logFailure(Failure failure, const QString &procedure, int step, const QString &detail, Module module)
{
    QString description = failureDescription(failure);
    if (!detail.isEmpty())
        description += QStringLiteral(": ") + detail;
    LogError(handlerMessage(failureNumber(failure), description, procedure, step, module));
}
