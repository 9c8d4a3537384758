#pragma once
// Which of Qt's window-system platforms a program of this package runs on.
//
// The window draws its own frame, places its menus and popup lists at screen
// coordinates, shapes itself with a mask and follows the pointer for its
// hover effects. X11 allows all of that; Wayland lets no client place its
// windows or read the pointer outside them, and those parts would open in the
// wrong place or not at all. So in a Wayland session the programs run through
// the session's X server (XWayland) unless the user named a platform in
// QT_QPA_PLATFORM (or with -platform); natively on Wayland only when the
// session has no X server.
//
// Decided before the application object exists and set for its making only:
// the programs the window starts (browser, office suite, updater) still choose
// for themselves.

#include <string>

namespace rasp {

// What the decision looks at: the environment and the installed Qt.
struct TDisplayEnvironment {
    std::string QtPlatform;      // QT_QPA_PLATFORM
    std::string WaylandDisplay;  // WAYLAND_DISPLAY
    std::string SessionType;     // XDG_SESSION_TYPE
    std::string X11Display;      // DISPLAY
    bool WaylandPlugin = false;  // Qt's Wayland platform plugin (package qt6-wayland) is installed
};

enum class TDisplayRoute {
    UserChoice,     // QT_QPA_PLATFORM names a platform: left as it is
    X11,            // not a Wayland session: Qt's own choice
    XWayland,       // a Wayland session with an X server
    NativeWayland,  // a Wayland session without one, Qt's Wayland plugin installed
    NoDisplay,      // nothing to show a window on
};

struct TDisplayChoice {
    TDisplayRoute Route = TDisplayRoute::X11;
    // QT_QPA_PLATFORM while the application object is made; empty: unchanged.
    std::string QtPlatform;
    // One line for the user (standard error) when the choice needs saying.
    std::string Message;
};

TDisplayEnvironment CurrentDisplayEnvironment();
TDisplayChoice ChooseDisplay(const TDisplayEnvironment& environment);

// Sets QT_QPA_PLATFORM as the choice says until Restore() or its end: made
// right before the application object and restored right after it.
class TQtPlatformSetting {
public:
    explicit TQtPlatformSetting(const TDisplayChoice& choice);
    ~TQtPlatformSetting();
    TQtPlatformSetting(const TQtPlatformSetting&) = delete;
    TQtPlatformSetting& operator=(const TQtPlatformSetting&) = delete;
    void Restore();

private:
    bool FSet = false;
};

}  // namespace rasp
