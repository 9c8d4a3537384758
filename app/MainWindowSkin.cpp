// The window's skin and skinned frame.

#include "app/MainWindow.h"

namespace rasp {

void TfrmMain::CreateSkinComponents() {}

}  // namespace rasp
