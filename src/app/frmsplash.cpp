#include "app/frmsplash.h"

#include "base/appinfo.h"
#include "app/pictures.h"
#include "base/titleversion.h"

#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Ends a loop once the window it watches has been exposed.
class ExposeWatch : public QObject
{
public:
    ExposeWatch(QWindow *window, QEventLoop &loop) : m_loop(loop) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The window handles its expose (and paints) first; the loop ends after.
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            QMetaObject::invokeMethod(&m_loop, &QEventLoop::quit, Qt::QueuedConnection);
        return false;
    }

private:
    QEventLoop &m_loop;
};

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    QFont arial(QStringLiteral("Arial"));
    arial.setStyleHint(QFont::SansSerif);
    setFont(arial);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::Box);
    outer->addWidget(Frame1);

    auto *column = new QVBoxLayout(Frame1);
    column->setContentsMargins(18, 14, 18, 14);
    column->setSpacing(4);
    imgLogo = namedLabel(Frame1, "imgLogo");
    imgLogo->setPixmap(LoadResPicture(101));
    imgLogo->setMinimumSize(420, 128);
    lblTitle = namedLabel(Frame1, "lblTitle");
    QFont titleFont = arial;
    titleFont.setPointSize(16);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = namedLabel(Frame1, "lblVersion");
    lblCompany = namedLabel(Frame1, "lblCompany");
    lblCopyright = namedLabel(Frame1, "lblCopyright");
    lblWarning = namedLabel(Frame1, "lblWarning",
                            QStringLiteral("For use with the Tavik TRX family of programmable relay expanders. "
                                           "Manuals and updates: www.tavik-controls.example"));
    lblLicenseTo = namedLabel(Frame1, "lblLicenseTo", QStringLiteral("Tavik Controls, 14 Relay Yard"));
    Label2 = namedLabel(Frame1, "Label2", QStringLiteral("Northbridge NB4 7TX"));

    column->addWidget(imgLogo);
    column->addSpacing(6);
    for (QLabel *label : {lblTitle, lblVersion, lblCompany, lblCopyright})
        column->addWidget(label);
    column->addSpacing(8);
    for (QLabel *label : {lblWarning, lblLicenseTo, Label2})
        column->addWidget(label);

    Form_Load();
    setFixedSize(sizeHint().expandedTo(QSize(480, 0)));
    // Not every window manager places a splash window; centre it on the screen.
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmSplash::showPainted()
{
    show();
    QWindow *window = windowHandle();
    if (window && !window->isExposed()) {
        QEventLoop loop;
        ExposeWatch watch(window, loop);
        // A windowing system that never maps the window does not hold up the start.
        QTimer::singleShot(2000, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
}

void frmSplash::Form_Load()
{
    lblTitle->setText(AppInfo::title());
    lblVersion->setText(QStringLiteral("Version ") + AppInfo::versionText());
    lblCompany->setText(AppInfo::companyName());
    lblCopyright->setText(AppInfo::legalCopyright());
    TitleVersion = AppInfo::composeTitleVersion();
}
