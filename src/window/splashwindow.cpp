#include "window/splashwindow.h"

#include "base/appinfo.h"
#include "base/titleversion.h"
#include "record/pictures.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {


QLabel *namedLabel(QWidget *parent, const char *name, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

SplashWindow::SplashWindow(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    QFont arial(QStringLiteral("Arial"));
    arial.setStyleHint(QFont::SansSerif);
    setFont(arial);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::Box);
    outer->addWidget(frame);

    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(18, 14, 18, 14);
    column->setSpacing(4);
    QLabel *logo = namedLabel(frame, "imgLogo");
    logo->setAccessibleName(tr("Tavik Configuration Manager"));
    logo->setPixmap(LoadResPicture(101));
    logo->setMinimumSize(420, 128);
    QLabel *title = namedLabel(frame, "lblTitle", AppInfo::title());
    QFont titleFont = arial;
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    title->setFont(titleFont);

    column->addWidget(logo);
    column->addSpacing(6);
    column->addWidget(title);
    column->addWidget(namedLabel(frame, "lblVersion", tr("Version %1").arg(AppInfo::versionText())));
    column->addWidget(namedLabel(frame, "lblCompany", AppInfo::companyName()));
    column->addWidget(namedLabel(frame, "lblCopyright", AppInfo::legalCopyright()));
    column->addSpacing(8);
    column->addWidget(namedLabel(frame, "lblWarning",
                                 tr("For use with the Tavik TRX family of programmable relay expanders. "
                                    "Manuals and updates: www.tavik-controls.example")));
    column->addWidget(namedLabel(frame, "lblLicenseTo", QStringLiteral("Tavik Controls, 14 Relay Yard")));
    column->addWidget(namedLabel(frame, "Label2", QStringLiteral("Northbridge NB4 7TX")));

    TitleVersion = AppInfo::composeTitleVersion();
    setFixedSize(sizeHint().expandedTo(QSize(480, 0)));
    // Not every window manager places a splash window; centre it on the screen.
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::showPainted()
{
    show();
    // Painted now as far as the window system lets it; it stays up until
    // the event loop has run once, which is when the main window appears.
    repaint();
}
