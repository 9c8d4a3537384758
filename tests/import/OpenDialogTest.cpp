// The open dialog stand-in driven as a user would: its settings, cancelling,
// and choosing an existing file (a missing one is refused).

#include "skinctrls/TbsSkinOpenDialog.h"
#include "tests/import/GuiTestApp.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include <fstream>

using namespace rasp;
using rasp::testing::GuiApp;
using rasp::testing::WhenModalShown;

namespace {

TEST(OpenDialog, SettingsAndCancel) {
    GuiApp();
    QWidget owner;
    TbsSkinOpenDialog dlg(&owner);
    dlg.FileName = "/tmp/kept.txt";
    bool seen = false;
    WhenModalShown<QFileDialog>([&](QFileDialog* d) {
        seen = true;
        EXPECT_EQ(d->windowTitle(), "Open file");
        EXPECT_TRUE(d->testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->nameFilters(), QStringList{"All files (*)"});
        EXPECT_EQ(d->parentWidget(), &owner);
        d->reject();
    });
    EXPECT_FALSE(dlg.ShowOpenDialog());
    EXPECT_TRUE(seen);
    EXPECT_EQ(dlg.FileName, "/tmp/kept.txt");
}

TEST(OpenDialog, ChoosesAnExistingFileOnly) {
    GuiApp();
    QTemporaryDir dir;
    const QString file = dir.filePath("README");  // no extension: "*.*" still lists it
    std::ofstream(file.toStdString()) << "x";
    TbsSkinOpenDialog dlg;
    dlg.InitialDir = dir.path();
    WhenModalShown<QFileDialog>([&](QFileDialog* d) {
        EXPECT_EQ(d->directory().absolutePath(), QDir(dir.path()).absolutePath());
        d->selectFile(dir.filePath("missing.txt"));
        // Refused with a warning box: the file must exist.
        bool warned = false;
        WhenModalShown<QMessageBox>([&](QMessageBox* box) {
            warned = true;
            box->accept();
        });
        static_cast<QDialog*>(d)->accept();
        EXPECT_TRUE(warned);
        EXPECT_TRUE(d->isVisible());
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_TRUE(dlg.ShowOpenDialog());
    EXPECT_EQ(dlg.FileName, file);
    EXPECT_EQ(dlg.Files, QStringList{file});
    EXPECT_EQ(TbsSkinOpenDialog::NameFilters("Text|*.txt;*.log|All files|*.*"),
              (QStringList{"Text (*.txt *.log)", "All files (*)"}));
}

}  // namespace
