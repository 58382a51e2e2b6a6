#include "window/oversizedlogbox.h"

#include "base/appinfo.h"

#include <QDesktopServices>
#include <QMessageBox>

namespace
{

OversizedLogBox::Opener &opener()
{
    static OversizedLogBox::Opener open = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return open;
}

} // namespace

void OversizedLogBox::setOpener(Opener open)
{
    opener() = std::move(open);
}

void OversizedLogBox::show(QWidget *parent, const QString &logPath, const QString &text)
{
    // Whether an editor came up is not looked at: the box says the same either way.
    opener()(QUrl::fromLocalFile(logPath));
    QMessageBox box(QMessageBox::Information, AppInfo::title(), text, QMessageBox::Ok, parent);
    box.exec();
}
