// Deployment settings and the promotions they configure.

#include "app/MainWindow.h"

namespace rasp {

void TfrmMain::LoadSettings() {}
void TfrmMain::imgBannerClick() {}
void TfrmMain::gifBannerClick() {}
void TfrmMain::btnMakeMoneyClick() {}

}  // namespace rasp
