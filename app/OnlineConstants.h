#pragma once
// Where the program finds its maker on the web, and the version it reports.

#include <array>
#include <cstddef>

namespace rasp {

namespace detail {

// "http://" + host + path at compile time, so every address follows the host.
template <std::size_t H, std::size_t P>
constexpr std::array<char, 7 + H + P - 1> MakerUrl(const char (&host)[H], const char (&path)[P])
{
    std::array<char, 7 + H + P - 1> url{};
    std::size_t at = 0;
    for (const char c : {'h', 't', 't', 'p', ':', '/', '/'})
        url[at++] = c;
    for (std::size_t i = 0; i + 1 < H; ++i)
        url[at++] = host[i];
    for (std::size_t i = 0; i < P; ++i)
        url[at++] = path[i];
    return url;
}

} // namespace detail

// The one place that names the maker's server: the update folder, the help
// page and the promotion page are all on it. An address of our own that can
// never resolve: a copy that is not pointed at a real server simply finds no
// update.
inline constexpr char MakerHost[] = "www.tellivo-rasp.example";

inline constexpr auto UpdateBaseURLText = detail::MakerUrl(MakerHost, "/liveupdate/tellivo_rasp/");
inline constexpr auto HelpPageURLText = detail::MakerUrl(MakerHost, "/rasphelp");
// The affiliate id of the deployment is appended as it stands.
inline constexpr auto PromotionBaseURLText = detail::MakerUrl(MakerHost, "/partners/");

// The update folder; the update description lies in it.
inline constexpr const char* UpdateBaseURL = UpdateBaseURLText.data();
inline constexpr const char* HelpPageURL = HelpPageURLText.data();
// Where "Make Money" sends the user.
inline constexpr const char* PromotionBaseURL = PromotionBaseURLText.data();

// The version compared with the update description's, a 32-bit float on
// purpose: the updater is told 1.00999999046326.
inline constexpr float AppVersionNumber = 1.01f;
// Last argument of the updater's command line.
inline constexpr const char* UpdaterModeArg = "A";

} // namespace rasp
