#include "app/MainWindow.h"
#include "app/RaspApplication.h"

int main(int argc, char** argv)
{
    rasp::TRaspApplication app(argc, argv);
    rasp::TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
