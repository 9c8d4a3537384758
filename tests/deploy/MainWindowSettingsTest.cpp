#include "app/MainWindow.h"
#include "app/TImage.h"
#include "gif/GIFAnimator.h"
#include "skin/bsSkinData.h"
#include "tests/gif/GifBuilder.h"
#include "tests/online/TestFiles.h"

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace rasp {
namespace {

QByteArray Png(int w, int h, QColor colour, const char* format = "png")
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray AnimatedGif(int w, int h)
{
    test::Bytes first(std::size_t(w) * h, 1), second(std::size_t(w) * h, 2);
    const test::Bytes gif = test::TGifBuilder(w, h, test::Palette(4))
                                .Loop(0)
                                .Gce(0, 10)
                                .Frame(0, 0, w, h, first)
                                .Gce(0, 10)
                                .Frame(0, 0, w, h, second)
                                .Build();
    return QByteArray(reinterpret_cast<const char*>(gif.data()), static_cast<qsizetype>(gif.size()));
}

class Deployment : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::unique_ptr<TfrmMain> window;
    QStringList shown;

    void TearDown() override
    {
        window.reset();
        QApplication::setWindowIcon(QIcon());
    }
    QString At(const QString& name) const { return QDir(dir.path()).filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) { test::WriteFile(At(name), bytes); }
    void Config(const QByteArray& settings) { Write("dbconfig.dat", "[Settings]\r\n" + settings); }

    void Open()
    {
        ASSERT_TRUE(dir.isValid());
        window.reset();
        shown.clear();
        TMainWindowOptions options;
        options.ProgramDir = dir.path();
        options.CheckUpdates = false;
        window = std::make_unique<TfrmMain>(options);
        window->msgMain->SetAnswerHook([this](const TMessageRequest& request) {
            shown.append(request.Text);
            return mrOk;
        });
        // Armed by the window's creation, whatever the deployment held.
        EXPECT_TRUE(window->Timer1->isActive());
        window->show();
        const QDeadlineTimer deadline(150);
        while (!deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    bool StripShown() const { return window->panBanner->isVisible(); }
};

// Records what the browser is asked to open.
class Browser {
public:
    Browser() { test::InstallFakeBrowser(FEnv, FRoot.path(), Record()); }
    QString Record() const { return QDir(FRoot.path()).filePath("browser-args.txt"); }
    QByteArray Opened()
    {
        if (!test::WaitForFile(Record()))
            return "nothing opened";
        QByteArray args = test::ReadFile(Record());
        QFile::remove(Record());
        return args;
    }

private:
    QTemporaryDir FRoot;
    test::TScopedEnv FEnv;
};

TEST_F(Deployment, WithoutSettingsFileTheDesignStateStays)
{
    Open();
    EXPECT_EQ(window->windowTitle(), "Tellivo Rasp");
    EXPECT_TRUE(StripShown());
    EXPECT_EQ(window->panBanner->height(), 65);
    EXPECT_TRUE(window->imgBanner->size().isEmpty());
    EXPECT_TRUE(window->gifBanner->size().isEmpty());
    EXPECT_EQ(window->lblLink1URL->text(), "Google");
    EXPECT_EQ(window->lblLink2URL->text(), "Google");
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Deployment, OnlyAppNameGivesVersionedTitleNoStripNoLinksAndBareMakeMoney)
{
    Config("AppName=Checker\r\n");
    Open();
    EXPECT_EQ(window->windowTitle(), "Checker v1.01");
    EXPECT_FALSE(StripShown());
    EXPECT_EQ(window->lblLink1URL->text(), "");
    EXPECT_EQ(window->lblLink2URL->text(), "");
    EXPECT_EQ(window->lblLink1URL->URL(), "");
    EXPECT_TRUE(shown.isEmpty());

    Browser browser;
    window->btnMakeMoney->click();
    EXPECT_EQ(browser.Opened(), "http://www.tellivo-rasp.example/partners/\n");
}

TEST_F(Deployment, AffiliateIdFollowsThePromotionUrlAndTheDesignTitleGetsTheVersion)
{
    Config("AfiliateID=acme-7\r\n");
    Open();
    EXPECT_EQ(window->windowTitle(), "Tellivo Rasp v1.01");
    Browser browser;
    window->btnMakeMoney->click();
    EXPECT_EQ(browser.Opened(), "http://www.tellivo-rasp.example/partners/acme-7\n");
}

TEST_F(Deployment, BannersTwoAndThreeReadTheFirstAndSecondImageFiles)
{
    Config("BannerPath2=two.png\r\nBannerPath3=three.bmp\r\n");
    Write("dbimg1.dat", Png(30, 20, Qt::red));
    Write("dbimg2.dat", Png(50, 40, Qt::blue, "bmp"));
    std::set<QString> seen;
    for (int run = 0; run < 40 && seen.size() < 2; ++run) {
        Open();
        seen.insert(window->FBannerPath);
        ASSERT_TRUE(StripShown());
        EXPECT_FALSE(window->gifBanner->isVisible());
        EXPECT_TRUE(window->imgBanner->isVisible());
        const QSize expected = window->FBannerPath == "two.png" ? QSize(30, 20) : QSize(50, 40);
        EXPECT_EQ(window->imgBanner->size(), expected);
        EXPECT_EQ(window->panBanner->height(), expected.height() + 10);
        EXPECT_TRUE(shown.isEmpty());
    }
    EXPECT_EQ(seen, (std::set<QString>{"two.png", "three.bmp"}));
    // Without a click target there is no hand cursor.
    EXPECT_NE(window->imgBanner->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(Deployment, ConfiguredBannerWithoutItsImageFileHidesTheStripQuietly)
{
    Config("BannerPath1=promo.png\r\nBannerURL1=http://x.example/\r\n");
    Open();
    EXPECT_FALSE(StripShown());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Deployment, GifBannerAnimatesInAStripTenPixelsTallerAndItsFileKeepsItsName)
{
    const QByteArray gif = AnimatedGif(60, 30);
    Config("BannerPath1=C:\\banners\\Promo.GIF\r\nBannerURL1=http://ads.example/go?id=3\r\n");
    Write("dbimg1.dat", gif);
    Open();
    ASSERT_TRUE(StripShown());
    EXPECT_TRUE(window->gifBanner->isVisible());
    EXPECT_FALSE(window->imgBanner->isVisible());
    EXPECT_EQ(window->gifBanner->size(), QSize(60, 30));
    EXPECT_EQ(window->panBanner->height(), 40);
    EXPECT_EQ(window->gifBanner->Image().Count(), 2);
    EXPECT_TRUE(window->gifBanner->Animate());
    EXPECT_EQ(window->gifBanner->x(), window->panBanner->width() / 2 - 30);
    EXPECT_EQ(window->gifBanner->y(), 5);
    EXPECT_EQ(window->gifBanner->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window->imgBanner->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(test::ReadFile(At("dbimg1.dat")), gif);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"dbconfig.dat", "dbimg1.dat"}));

    Browser browser;
    QTest::mouseClick(window->gifBanner, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(browser.Opened(), "http://ads.example/go?id=3\n");
}

TEST_F(Deployment, BannersBeyondTheSizeLimitOrOfAnotherKindAreRefusedAndTheWindowKeepsItsSize)
{
    // A 300 x 5000 GIF configured as a JPEG used to be shown and made the
    // window 5,350 pixels tall; as a GIF banner it is too large as well.
    const QByteArray tall = AnimatedGif(300, 5000);
    for (const QByteArray name : {"banner.jpg", "banner.png", "banner.gif"}) {
        SCOPED_TRACE(name.toStdString());
        Config("BannerPath1=" + name + "\r\n");
        Write("dbimg1.dat", tall);
        Open();
        EXPECT_FALSE(StripShown());
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(name)) << shown[0].toStdString();
        EXPECT_LT(window->height(), 1000);
        EXPECT_EQ(test::ReadFile(At("dbimg1.dat")), tall);
    }
    // GIF data under a still picture's name are refused even when small.
    Config("BannerPath1=banner.jpg\r\n");
    Write("dbimg1.dat", AnimatedGif(60, 30));
    Open();
    EXPECT_FALSE(StripShown());
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(Deployment, StillBannerClickOpensItsTarget)
{
    Config("BannerPath1=promo.jpg\r\nBannerURL1=http://ads.example/still\r\n");
    Write("dbimg1.dat", Png(40, 20, Qt::green, "jpeg"));
    Open();
    ASSERT_TRUE(window->imgBanner->isVisible());
    Browser browser;
    QTest::mouseClick(window->imgBanner, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(browser.Opened(), "http://ads.example/still\n");
}

TEST_F(Deployment, BrokenBannerHidesTheStripSaysSoOnceAndTheRestStillApplies)
{
    const struct {
        QByteArray name;
        QByteArray bytes;
        QString reason;
    } cases[] = {
        {"promo.jpg", Png(40, 20, Qt::red, "jpeg").left(20) + QByteArray(500, 'Z'), "JPEG"},
        {"promo.tga", Png(40, 20, Qt::red), "Unknown picture file extension (.tga)"},
        {"promo.gif", "GIF89a broken", "GIF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        Config("AppName=Branded\r\nBannerPath1=" + c.name + "\r\nLink1URL=http://one.example/\r\n"
               "Link1Name=One\r\nIconPath=app.ico\r\n");
        Write("dbimg1.dat", c.bytes);
        Write("app.ico", Png(32, 32, Qt::yellow, "ico"));
        QApplication::setWindowIcon(QIcon());
        Open();
        EXPECT_FALSE(StripShown());
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(At("dbimg1.dat"))) << shown[0].toStdString();
        EXPECT_TRUE(shown[0].contains(c.name)) << shown[0].toStdString();
        if (c.reason.startsWith("Unknown")) {
            EXPECT_TRUE(shown[0].contains(c.reason)) << shown[0].toStdString();
        }
        EXPECT_EQ(window->windowTitle(), "Branded v1.01");
        EXPECT_EQ(window->lblLink1URL->text(), "One");
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_EQ(test::ReadFile(At("dbimg1.dat")), c.bytes);
        EXPECT_FALSE(QFileInfo::exists(At(c.name)));
    }
}

TEST_F(Deployment, OneLinkGoesLeftAndSeveralGiveTwoDifferentOnes)
{
    Config("Link3URL=http://three.example/\r\nLink3Name=Three\r\n");
    Open();
    EXPECT_EQ(window->lblLink1URL->text(), "Three");
    EXPECT_EQ(window->lblLink1URL->URL(), "http://three.example/");
    EXPECT_EQ(window->lblLink2URL->text(), "");
    EXPECT_EQ(window->lblLink2URL->URL(), "");
    {
        // A click on a footer link goes through the browser launcher.
        Browser browser;
        QTest::mouseClick(window->lblLink1URL, Qt::LeftButton);
        EXPECT_EQ(browser.Opened(), "http://three.example/\n");
    }

    Config("Link1URL=http://a/\r\nLink1Name=A\r\nLink2URL=http://b/\r\nLink2Name=B\r\n"
           "Link4URL=http://d/\r\nLink4Name=D\r\n");
    for (int run = 0; run < 10; ++run) {
        Open();
        EXPECT_NE(window->FLink1URL, window->FLink2URL);
        EXPECT_EQ(window->lblLink1URL->text() + window->lblLink2URL->text(),
                  window->FLink1Name + window->FLink2Name);
        EXPECT_EQ(QString(window->FLink1URL).remove("http://").remove('/').toUpper(), window->FLink1Name);
        EXPECT_EQ(QString(window->FLink2URL).remove("http://").remove('/').toUpper(), window->FLink2Name);
    }
}

TEST_F(Deployment, IconIsLookedForByItsNameInTheProgramDirectory)
{
    Config("IconPath=C:\\icons\\app.ico\r\n");
    Open();
    EXPECT_EQ(window->FIconPath, "C:\\icons\\app.ico");
    EXPECT_TRUE(QApplication::windowIcon().isNull());

    Write("app.ico", Png(32, 32, Qt::yellow, "ico"));
    Open();
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_TRUE(shown.isEmpty());

    // An icon file that is no icon is reported; nothing else is lost.
    QApplication::setWindowIcon(QIcon());
    Write("app.ico", "not an icon");
    Open();
    EXPECT_TRUE(QApplication::windowIcon().isNull());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains(At("app.ico")));
}

TEST_F(Deployment, SettingsOverTheLimitsAreRefusedAndTheDesignStateStays)
{
    // A title of megabytes froze the window for most of a minute.
    const struct {
        QByteArray settings;
        QString reason;
    } cases[] = {
        {"AppName=" + QByteArray(2 * 1024 * 1024, 'T'), "the file is larger than 1048576 bytes"},
        {"AppName=" + QByteArray(5000, 'T') + "\r\nLink1URL=http://one.example/\r\n",
         "the value of AppName is longer than 4096 characters (5000)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason.toStdString());
        Config(c.settings);
        Open();
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].startsWith("The deployment settings \"" + At("dbconfig.dat") + "\" could not be read: "
                                        + c.reason))
            << shown[0].toStdString();
        EXPECT_EQ(window->windowTitle(), "Tellivo Rasp");
        EXPECT_TRUE(StripShown());
        EXPECT_EQ(window->lblLink1URL->text(), "Google");
        EXPECT_EQ(window->lblLink2URL->text(), "Google");
    }
}

TEST_F(Deployment, BannerOrIconStatingMoreThanItHoldsIsRefusedWithTheUsualMessage)
{
    QFile file(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/tests/deploy/data/text-length.png");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    const QString reason = "The data is not a valid PNG picture (a chunk of 1701999452 bytes runs past the end of the file)";
    Config("AppName=Branded\r\nBannerPath1=promo.png\r\nIconPath=app.png\r\n");
    Write("dbimg1.dat", png);
    Write("app.png", png);
    Open();
    EXPECT_FALSE(StripShown());
    EXPECT_EQ(window->windowTitle(), "Branded v1.01");
    EXPECT_TRUE(QApplication::windowIcon().isNull());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "The banner picture \"" + At("dbimg1.dat") + "\" (promo.png) cannot be shown: " + reason
                            + "\n\nThe icon \"" + At("app.png") + "\" could not be read: " + reason);
}

TEST_F(Deployment, WindowCarriesItsBuiltInSkin)
{
    Open();
    ASSERT_NE(window->bsSkinData1, nullptr);
    EXPECT_FALSE(window->bsSkinData1->SkinEmpty);
    EXPECT_EQ(window->bsSkinData1->skinname, "Tellivo Light");
    for (const char* control : {"button", "panel", "edit", "spinedit", "combobox", "richedit", "groupbox"})
        EXPECT_GE(window->bsSkinData1->IndexOfControl(control), 0) << control;
}

TEST_F(Deployment, SkinFileReplacesTheSkinAndABrokenOneKeepsTheSkinInUse)
{
    const QString skins = QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/samples/skins/dbskin.dat";
    Config("Link1URL=http://one.example/\r\nLink1Name=One\r\n");
    Write("dbskin.dat", test::ReadFile(skins));
    Open();
    ASSERT_NE(window->bsSkinData1, nullptr);
    EXPECT_FALSE(window->bsSkinData1->SkinEmpty);
    EXPECT_EQ(window->bsSkinData1->skinname, "Tellivo Dark");
    EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();

    Config("AppName=Skinned\r\nLink1URL=http://one.example/\r\nLink1Name=One\r\n");
    Write("dbskin.dat", QByteArray("\x03\x00\x00\x00\xFF\x00\x00\x00", 8) + QByteArray(64, '\x7F'));
    Open();
    // The built-in skin stays in use; the rest of the settings still apply.
    ASSERT_NE(window->bsSkinData1, nullptr);
    EXPECT_FALSE(window->bsSkinData1->SkinEmpty);
    EXPECT_EQ(window->bsSkinData1->skinname, "Tellivo Light");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("dbskin.dat")) << shown[0].toStdString();
    EXPECT_TRUE(window->windowTitle().startsWith("Skinned v1.01"));
    EXPECT_EQ(window->lblLink1URL->text(), "One");
}

TEST_F(Deployment, SampleDeploymentBrandsTheWindowAndLeavesItsFilesAlone)
{
    const QDir sample(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/samples/deploy");
    ASSERT_TRUE(sample.exists());
    std::map<QString, QByteArray> files;
    for (const QString& name : sample.entryList(QDir::Files)) {
        files[name] = test::ReadFile(sample.filePath(name));
        Write(name, files[name]);
    }
    Open();
    EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();
    EXPECT_EQ(window->windowTitle(), "Rasp Article Checker v1.01");
    EXPECT_EQ(window->FAffiliateID, "sample-partner-042");
    ASSERT_TRUE(StripShown());
    EXPECT_TRUE(window->gifBanner->isVisible() != window->imgBanner->isVisible());
    EXPECT_EQ(window->panBanner->height(), 70);
    EXPECT_NE(window->FLink1Name, window->FLink2Name);
    EXPECT_FALSE(window->FLink2Name.isEmpty());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_EQ(QApplication::windowIcon().availableSizes().size(), 3);
    for (const auto& [name, bytes] : files)
        EXPECT_EQ(test::ReadFile(At(name)), bytes) << name.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), static_cast<qsizetype>(files.size()));
}

} // namespace
} // namespace rasp
