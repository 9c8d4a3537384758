#pragma once
// The deployment settings a distributor puts beside the program to brand it:
// what "dbconfig.dat" holds, and the choices made from it at start.

#include <QString>

#include <cstddef>
#include <optional>
#include <random>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

namespace rasp {

inline constexpr const char* DeploymentFileName = "dbconfig.dat";
inline constexpr const char* DeploymentSkinFileName = "dbskin.dat";
inline constexpr const char* DeploymentSection = "Settings";

// A settings file larger than this, or holding a value longer than this many
// characters, is no deployment's and is refused as a whole: a title or a
// link of megabytes would only freeze the window that lays it out.
inline constexpr std::size_t MaxDeploymentSettingsSize = 1024 * 1024;
inline constexpr qsizetype MaxDeploymentValueLength = 4096;

// Settings refused; the message is meant for the user.
class EDeploymentSettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TBannerEntry {
    QString Path; // the configured file name; only its name part counts
    QString URL;  // click target, may be empty
};

struct TLinkEntry {
    QString URL;
    QString Name;
};

struct TDeploymentSettings {
    QString AppName;
    QString AfiliateID;
    QString IconPath;
    // Configured banners and links in key order; gaps in the numbering are
    // closed up, which is what decides the banner's dbimgN.dat.
    std::vector<TBannerEntry> Banners;
    std::vector<TLinkEntry> Links;
};

// Reads the section "Settings" from the text of a dbconfig.dat. Values in
// UTF-8 are taken as such; anything else is read as Latin-1, so no byte is
// ever dropped. Throws EDeploymentSettingsError for a text or a value over
// the limits above.
TDeploymentSettings ParseDeploymentSettings(std::string_view iniText);

// The part of a configured path after its last separator. Deployments are
// written on either system, so '\\', '/' and a drive's ':' all separate.
QString NamePart(const QString& path);

// "dbimg1.dat" for the first configured banner, and so on.
QString BannerSourceName(std::size_t index);

// A generator seeded from the clock, so each start may choose differently.
std::mt19937 ClockSeededGenerator();

// An index in 0 .. count - 1, uniformly; count must be positive.
std::size_t ChooseIndex(std::size_t count, std::mt19937& random);

// The two footer links: two different entries, chosen uniformly; the second
// is empty when only one link is configured, both when none is.
std::pair<std::optional<TLinkEntry>, std::optional<TLinkEntry>> ChooseLinks(std::vector<TLinkEntry> links,
                                                                            std::mt19937& random);

} // namespace rasp
