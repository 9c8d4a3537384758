#include "platform/display/DisplayPlatform.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdlib>

namespace rasp {

namespace {

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Looks where Qt will look: its own plugin folder and QT_PLUGIN_PATH.
bool WaylandPluginInstalled()
{
    for (const QString& folder : QCoreApplication::libraryPaths())
        if (!QDir(folder + QStringLiteral("/platforms"))
                 .entryList({QStringLiteral("libqwayland*")}, QDir::Files)
                 .isEmpty())
            return true;
    return false;
}

}  // namespace

TDisplayEnvironment CurrentDisplayEnvironment()
{
    TDisplayEnvironment environment;
    environment.QtPlatform = Variable("QT_QPA_PLATFORM");
    environment.WaylandDisplay = Variable("WAYLAND_DISPLAY");
    environment.SessionType = Variable("XDG_SESSION_TYPE");
    environment.X11Display = Variable("DISPLAY");
    environment.WaylandPlugin = WaylandPluginInstalled();
    return environment;
}

TDisplayChoice ChooseDisplay(const TDisplayEnvironment& e)
{
    if (!e.QtPlatform.empty())
        return {TDisplayRoute::UserChoice, {}, {}};
    const bool wayland = !e.WaylandDisplay.empty() || e.SessionType == "wayland";
    if (!wayland) {
        if (e.X11Display.empty())
            return {TDisplayRoute::NoDisplay, {}, "no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set"};
        return {TDisplayRoute::X11, {}, {}};
    }
    if (!e.X11Display.empty())
        // Should the session's X server have gone, Wayland itself is better
        // than no window.
        return {TDisplayRoute::XWayland, e.WaylandPlugin ? "xcb;wayland" : "xcb", {}};
    if (e.WaylandPlugin)
        return {TDisplayRoute::NativeWayland, "wayland",
                "this Wayland session has no X server (DISPLAY is not set); running on Wayland itself, "
                "where the window cannot place itself and its menus and lists may open in the wrong place"};
    return {TDisplayRoute::NoDisplay, {},
            "this Wayland session has no X server (DISPLAY is not set), and Qt's Wayland platform plugin "
            "(package qt6-wayland) is not installed"};
}

TQtPlatformSetting::TQtPlatformSetting(const TDisplayChoice& choice)
{
    if (choice.QtPlatform.empty())
        return;
    FSet = ::setenv("QT_QPA_PLATFORM", choice.QtPlatform.c_str(), 1) == 0;
}

TQtPlatformSetting::~TQtPlatformSetting() { Restore(); }

void TQtPlatformSetting::Restore()
{
    // Only set where the user had set nothing, so nothing is the way back.
    if (FSet)
        ::unsetenv("QT_QPA_PLATFORM");
    FSet = false;
}

}  // namespace rasp
