// "Import" of the two panes.

#include "app/MainWindow.h"

namespace rasp {

void TfrmMain::btnImport1Click() {}
void TfrmMain::btnImport2Click() {}

}  // namespace rasp
