// Deployment settings and the promotions they configure.

#include "app/MainWindow.h"

#include "app/BannerPicture.h"
#include "app/DeploymentSettings.h"
#include "app/IconPicture.h"
#include "app/OnlineConstants.h"
#include "app/TImage.h"
#include "app/UUtils.h"
#include "gif/GIFAnimator.h"
#include "skin/bsSkinData.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace rasp {
namespace {

// Deployment files are small; anything far larger is no deployment file and
// is not read into memory.
constexpr qint64 kMaxDeploymentFileSize = 64 * 1024 * 1024;

QByteArray ReadDeploymentFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    if (file.size() > kMaxDeploymentFileSize)
        throw std::runtime_error("the file is too large");
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw std::runtime_error(file.errorString().toStdString());
    return bytes;
}

QString Reason(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

// Shows the chosen banner from its dbimgN.dat. The file is read where it
// lies and never renamed: a failed load, a crash or a second copy starting at
// the same moment must not leave the deployment's file under another name.
// The banner's configured name only chooses the format.
void ShowBanner(TfrmMain& w, const QString& source)
{
    const QByteArray bytes = ReadDeploymentFile(source);
    const QString name = NamePart(w.FBannerPath);
    if (name.toLower().contains(u".gif")) {
        CheckGifBannerSize(bytes);
        w.imgBanner->hide();
        w.gifBanner->LoadFromBytes(bytes);
        w.gifBanner->show();
        w.panBanner->setFixedHeight(w.gifBanner->height() + 10);
    } else {
        const QImage picture = DecodeBannerPicture(bytes, name);
        w.gifBanner->hide();
        w.imgBanner->SetPicture(QPixmap::fromImage(picture));
        w.imgBanner->show();
        w.panBanner->setFixedHeight(w.imgBanner->height() + 10);
    }
}

// Said once the window is up, over it rather than before it.
void ReportLater(TfrmMain& w, const QStringList& problems)
{
    if (problems.isEmpty())
        return;
    QTimer::singleShot(0, &w, [&w, text = problems.join(QStringLiteral("\n\n"))] {
        w.msgMain->MessageDlg(text, mtError, {mbOK}, 0);
    });
}

QIcon ReadIcon(const QString& path)
{
    QIcon icon;
    for (const QImage& image : DecodeIconPictures(ReadDeploymentFile(path), path))
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace

void TfrmMain::LoadSettings()
{
    const QString dir = ProgramDir();
    const QString configPath = dir + QString::fromLatin1(DeploymentFileName);
    if (!QFileInfo(configPath).isFile())
        return;

    // What could not be applied; the user hears of it once, and everything
    // else of the deployment still takes effect.
    QStringList problems;

    TDeploymentSettings settings;
    try {
        const QByteArray text = ReadDeploymentFile(configPath);
        settings = ParseDeploymentSettings(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    } catch (const std::exception& e) {
        // Settings that cannot be taken as a whole are as good as none: the
        // window keeps its design state and says why.
        ReportLater(*this, {QStringLiteral("The deployment settings \"%1\" could not be read: %2").arg(configPath, Reason(e))});
        return;
    }

    if (!settings.AppName.isEmpty())
        setWindowTitle(settings.AppName);
    setWindowTitle(windowTitle() + QStringLiteral(" v") + QString::fromLatin1(AppVersion));

    if (!settings.AfiliateID.isEmpty())
        FAffiliateID = settings.AfiliateID;

    std::mt19937 random = ClockSeededGenerator();
    std::size_t banner = 0;
    if (!settings.Banners.empty()) {
        banner = ChooseIndex(settings.Banners.size(), random);
        FBannerURL = settings.Banners[banner].URL;
        FBannerPath = settings.Banners[banner].Path;
    }
    if (!FBannerURL.isEmpty()) {
        imgBanner->setCursor(Qt::PointingHandCursor);
        gifBanner->setCursor(Qt::PointingHandCursor);
    }
    if (FBannerPath.isEmpty()) {
        panBanner->hide();
    } else {
        const QString source = dir + BannerSourceName(banner);
        if (!QFileInfo(source).isFile()) {
            panBanner->hide();
        } else {
            try {
                ShowBanner(*this, source);
            } catch (const std::exception& e) {
                panBanner->hide();
                problems << QStringLiteral("The banner picture \"%1\" (%2) cannot be shown: %3")
                                .arg(source, NamePart(FBannerPath), Reason(e));
            }
        }
    }

    const auto [link1, link2] = ChooseLinks(settings.Links, random);
    if (link1) {
        FLink1URL = link1->URL;
        FLink1Name = link1->Name;
    }
    if (link2) {
        FLink2URL = link2->URL;
        FLink2Name = link2->Name;
    }
    lblLink1URL->SetCaption(FLink1Name);
    lblLink1URL->SetURL(FLink1URL);
    lblLink2URL->SetCaption(FLink2Name);
    lblLink2URL->SetURL(FLink2URL);

    const QString skinPath = dir + QString::fromLatin1(DeploymentSkinFileName);
    if (QFileInfo::exists(skinPath) && bsSkinData1) {
        try {
            bsSkinData1->LoadCompressedSkinFile(skinPath);
        } catch (const std::exception& e) {
            // The skin in use stays; the message names the file.
            problems << Reason(e);
        }
    }

    if (!settings.IconPath.isEmpty())
        FIconPath = settings.IconPath;
    const QString iconName = NamePart(FIconPath);
    const QString iconPath = dir + iconName;
    if (!iconName.isEmpty() && QFileInfo(iconPath).isFile()) {
        try {
            QApplication::setWindowIcon(ReadIcon(iconPath));
        } catch (const std::exception& e) {
            problems << QStringLiteral("The icon \"%1\" could not be read: %2").arg(iconPath, Reason(e));
        }
    }

    ReportLater(*this, problems);
}

void TfrmMain::imgBannerClick()
{
    OpenLink(FBannerURL);
}

void TfrmMain::gifBannerClick()
{
    OpenLink(FBannerURL);
}

void TfrmMain::btnMakeMoneyClick()
{
    OpenLink(QString::fromLatin1(PromotionBaseURL) + FAffiliateID);
}

}  // namespace rasp
