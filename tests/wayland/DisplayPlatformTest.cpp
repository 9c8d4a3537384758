// The platform decision, case by case: what each kind of session gets.

#include "platform/display/DisplayPlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace rasp;

namespace {

TDisplayEnvironment Session(const char* qt, const char* wayland, const char* type, const char* x11, bool plugin)
{
    return {qt, wayland, type, x11, plugin};
}

}  // namespace

TEST(DisplayPlatform, EachSessionGetsItsPlatform)
{
    struct Case {
        TDisplayEnvironment Env;
        TDisplayRoute Route;
        const char* QtPlatform;
        bool Says;
    } cases[] = {
        // The user's word stands, whatever the session.
        {Session("wayland", "wayland-0", "wayland", ":0", true), TDisplayRoute::UserChoice, "", false},
        {Session("offscreen", "", "", "", false), TDisplayRoute::UserChoice, "", false},
        // X11 sessions are Qt's own business.
        {Session("", "", "x11", ":0", true), TDisplayRoute::X11, "", false},
        {Session("", "", "", ":1", false), TDisplayRoute::X11, "", false},
        // Wayland with an X server: through it; Wayland itself only should
        // the X server fail, and only where Qt can do it.
        {Session("", "wayland-0", "wayland", ":0", true), TDisplayRoute::XWayland, "xcb;wayland", false},
        {Session("", "wayland-0", "wayland", ":0", false), TDisplayRoute::XWayland, "xcb", false},
        {Session("", "", "wayland", ":0", false), TDisplayRoute::XWayland, "xcb", false},
        {Session("", "wayland-1", "tty", ":0", true), TDisplayRoute::XWayland, "xcb;wayland", false},
        // Wayland without one: natively, said; or a clear no.
        {Session("", "wayland-0", "wayland", "", true), TDisplayRoute::NativeWayland, "wayland", true},
        {Session("", "", "wayland", "", true), TDisplayRoute::NativeWayland, "wayland", true},
        {Session("", "wayland-0", "wayland", "", false), TDisplayRoute::NoDisplay, "", true},
        {Session("", "", "", "", true), TDisplayRoute::NoDisplay, "", true},
        {Session("", "", "tty", "", false), TDisplayRoute::NoDisplay, "", true},
    };
    for (const Case& c : cases) {
        const TDisplayChoice choice = ChooseDisplay(c.Env);
        SCOPED_TRACE("QT_QPA_PLATFORM=" + c.Env.QtPlatform + " WAYLAND_DISPLAY=" + c.Env.WaylandDisplay +
                     " XDG_SESSION_TYPE=" + c.Env.SessionType + " DISPLAY=" + c.Env.X11Display);
        EXPECT_EQ(choice.Route, c.Route);
        EXPECT_EQ(choice.QtPlatform, c.QtPlatform);
        EXPECT_EQ(!choice.Message.empty(), c.Says) << choice.Message;
    }
}

// Set for the application object only: what the program starts later finds
// the environment the user gave it.
TEST(DisplayPlatform, TheSettingLastsUntilRestored)
{
    ::unsetenv("QT_QPA_PLATFORM");
    {
        TQtPlatformSetting setting(TDisplayChoice{TDisplayRoute::XWayland, "xcb", {}});
        ASSERT_NE(std::getenv("QT_QPA_PLATFORM"), nullptr);
        EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
        setting.Restore();
        EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
    }
    {
        TQtPlatformSetting setting(TDisplayChoice{TDisplayRoute::XWayland, "xcb;wayland", {}});
        EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb;wayland");
    }
    EXPECT_EQ(std::getenv("QT_QPA_PLATFORM"), nullptr);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    {
        TQtPlatformSetting setting(ChooseDisplay(CurrentDisplayEnvironment()));
        EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "offscreen");
    }
    EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "offscreen");
}
