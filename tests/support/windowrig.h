#pragma once

#include "privateport.h"
#include "taviksimulator.h"
#include "variedrelays.h"
#include "mainwindowprobe.h"

#include <QtTest>

#include <functional>

// The window writing down every action text and progress value it shows; onAction runs inside
// the command as each text is set.
class RecordingWindow : public MainWindow
{
public:
    RecordingWindow()
    {
        connect(&deviceSession(), &DeviceSession::actionChanged, this, [this](const QString &text) {
            actions << text;
            if (onAction)
                onAction(text);
        });
        connect(findChild<QProgressBar *>(QStringLiteral("prbProgress")), &QProgressBar::valueChanged, this,
                [this](int value) { bar << value; });
    }
    QStringList actions;
    QList<int> bar; // every value the progress bar took
    std::function<void(const QString &)> onAction;
};

// The window started on the simulated device's port, the device holding the
// varied relays, shown and active (keys and the Edit menu need it); silence
// ends a wait after `ticks` + 1 ticks.
struct WindowRig {
    TavikSimulator device;
    RecordingWindow window;
    MainWindowProbe probe{window};
    QString portPath; // the device's terminal, by a name of this process's own

    bool start(qint16 ticks = 2)
    {
        if (!device.start())
            return false;
        for (int i = 0; i < RelayCount; ++i)
            device.setRelay(i, variedDeviceRelay(i));
        portPath = privatePortPath(device.portPath());
        window.deviceLink().port().directory().addRuntimePort(portPath);
        window.setPreferredPort(portPath);
        window.start();
        window.deviceLink().clock().setTimeoutTicks(ticks);
        // The pauses only let a real device settle.
        window.deviceDialogues().setPauses({1, 1});
        device.clearReceived();
        window.actions.clear();
        QApplication::setActiveWindow(&window);
        return window.deviceLink().port().portLocation() == portPath && QTest::qWaitForWindowActive(&window);
    }
};
