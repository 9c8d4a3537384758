#include "app/DeploymentSettings.h"

#include "platform/ini/IniFile.h"

#include <QStringDecoder>

#include <algorithm>
#include <chrono>
#include <string>

namespace rasp {
namespace {

QString DecodeValue(const std::string& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return text;
}

QString Value(std::string_view text, const std::string& key)
{
    QString value = DecodeValue(ReadIniValue(text, DeploymentSection, key));
    if (value.size() > MaxDeploymentValueLength) {
        throw EDeploymentSettingsError(QStringLiteral("the value of %1 is longer than %2 characters (%3)")
                                           .arg(QString::fromStdString(key))
                                           .arg(MaxDeploymentValueLength)
                                           .arg(value.size())
                                           .toStdString());
    }
    return value;
}

} // namespace

TDeploymentSettings ParseDeploymentSettings(std::string_view iniText)
{
    if (iniText.size() > MaxDeploymentSettingsSize) {
        throw EDeploymentSettingsError(QStringLiteral("the file is larger than %1 bytes (%2)")
                                           .arg(MaxDeploymentSettingsSize)
                                           .arg(iniText.size())
                                           .toStdString());
    }
    TDeploymentSettings s;
    s.AppName = Value(iniText, "AppName");
    s.AfiliateID = Value(iniText, "AfiliateID");
    s.IconPath = Value(iniText, "IconPath");
    for (int i = 1; i <= 3; ++i) {
        const std::string n = std::to_string(i);
        QString path = Value(iniText, "BannerPath" + n);
        if (!path.isEmpty())
            s.Banners.push_back({std::move(path), Value(iniText, "BannerURL" + n)});
    }
    for (int i = 1; i <= 4; ++i) {
        const std::string n = std::to_string(i);
        QString url = Value(iniText, "Link" + n + "URL");
        if (!url.isEmpty())
            s.Links.push_back({std::move(url), Value(iniText, "Link" + n + "Name")});
    }
    return s;
}

QString NamePart(const QString& path)
{
    qsizetype cut = -1;
    for (QChar separator : {u'\\', u'/', u':'})
        cut = std::max(cut, path.lastIndexOf(separator));
    return path.mid(cut + 1);
}

QString BannerSourceName(std::size_t index)
{
    return QStringLiteral("dbimg%1.dat").arg(index + 1);
}

std::mt19937 ClockSeededGenerator()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32), std::random_device{}()};
    return std::mt19937(seed);
}

std::size_t ChooseIndex(std::size_t count, std::mt19937& random)
{
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
}

std::pair<std::optional<TLinkEntry>, std::optional<TLinkEntry>> ChooseLinks(std::vector<TLinkEntry> links,
                                                                            std::mt19937& random)
{
    std::pair<std::optional<TLinkEntry>, std::optional<TLinkEntry>> chosen;
    if (links.empty())
        return chosen;
    const std::size_t k1 = ChooseIndex(links.size(), random);
    chosen.first = std::move(links[k1]);
    // The first choice leaves the list, so the second is always another link.
    links.erase(links.begin() + static_cast<std::ptrdiff_t>(k1));
    if (!links.empty())
        chosen.second = std::move(links[ChooseIndex(links.size(), random)]);
    return chosen;
}

} // namespace rasp
