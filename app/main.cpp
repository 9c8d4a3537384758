#include "app/MainWindow.h"
#include "app/RaspApplication.h"
#include "platform/display/DisplayPlatform.h"

#include <cstdio>

int main(int argc, char** argv)
{
    // Before the application object: it connects to the window system.
    const rasp::TDisplayChoice display = rasp::ChooseDisplay(rasp::CurrentDisplayEnvironment());
    if (!display.Message.empty())
        std::fprintf(stderr, "tellivo-rasp: %s\n", display.Message.c_str());
    if (display.Route == rasp::TDisplayRoute::NoDisplay)
        return 2;
    rasp::TQtPlatformSetting platform(display);
    rasp::TRaspApplication app(argc, argv);
    platform.Restore();

    rasp::TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
