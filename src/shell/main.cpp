#include "shell/visualstyles.h"
#include "window/frmmain.h"

#include <QApplication>

// Main: the style first, then the window, whose load does the rest of start-up.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitVisualStyles();
    frmMain window;
    window.Form_Load();
    return app.exec();
}
