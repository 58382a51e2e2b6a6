#pragma once

#include <QWidget>

// The information window shown while the main window starts. Creating it
// sets TitleVersion.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *parent = nullptr);

    // Shows the window and returns once the windowing system has mapped it
    // and it has painted itself, as a splash screen must before the start-up
    // it covers goes on. User input waits meanwhile.
    void showPainted();
};
