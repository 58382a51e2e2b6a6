#pragma once

#include <QWidget>

class QFrame;
class QLabel;

// The information window shown while the main window starts. Loading it sets
// TitleVersion.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Shows the window and returns once the windowing system has mapped it
    // and it has painted itself, as a splash screen must before the start-up
    // it covers goes on. User input waits meanwhile.
    void showPainted();

    QFrame *Frame1 = nullptr;
    QLabel *imgLogo = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCompany = nullptr;
    QLabel *lblCopyright = nullptr;
    QLabel *lblWarning = nullptr;
    QLabel *lblLicenseTo = nullptr;
    QLabel *Label2 = nullptr;

private:
    void Form_Load();
};
