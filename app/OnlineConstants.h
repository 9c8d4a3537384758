#pragma once
// Where the program finds its maker on the web, and the version it reports.

namespace rasp {

// An address of our own that can never resolve: a copy that is not pointed at
// a real server simply finds no update.
inline constexpr const char* MakerHost = "www.tellivo-rasp.example";

// The update folder; the update description lies in it.
inline constexpr const char* UpdateBaseURL = "http://www.tellivo-rasp.example/liveupdate/tellivo_rasp/";
inline constexpr const char* HelpPageURL = "http://www.tellivo-rasp.example/rasphelp";

// The version compared with the update description's, a 32-bit float on
// purpose: the updater is told 1.00999999046326.
inline constexpr float AppVersionNumber = 1.01f;
// Last argument of the updater's command line.
inline constexpr const char* UpdaterModeArg = "A";

} // namespace rasp
