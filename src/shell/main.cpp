#include "shell/appinfo.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(AppInfo::composeTitleVersion() + QStringLiteral(" [New.csv]"));
    window.resize(957, 521);
    window.show();
    return app.exec();
}
