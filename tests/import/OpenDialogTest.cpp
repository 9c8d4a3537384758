// The skinned open dialog driven as a user would, on a temporary folder tree:
// the type box and masks, the name field, Open and Cancel, navigation, the
// views, and folders that cannot be read, vanish or are huge.

#include "skinctrls/TbsFileListModel.h"
#include "skinctrls/TbsOpenDlgForm.h"
#include "skin/bsSkinMenu.h"
#include "skin/bsSkinPopupMenu.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/bsEditMenu.h"
#include "skinctrls/TbsSkinMenuSpeedButton.h"
#include "skinctrls/TbsSkinOpenDialog.h"
#include "skinctrls/bsFileNames.h"
#include "skinctrls/TbsSkinMessage.h"
#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "tests/import/GuiTestApp.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QWindow>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <fcntl.h>
#include <fstream>
#include <random>
#include <unistd.h>

using namespace rasp;
using rasp::testing::GuiApp;

namespace {

class OpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        GuiApp();
        for (const char* f : {"b.txt", "A.TXT", "notes.log", "report.doc", "README", "pic.png"})
            Touch(root.filePath(f));
        QDir(root.path()).mkdir("zeta");
        QDir(root.path()).mkdir("Alpha");
        Touch(root.filePath("zeta/inner.txt"));
    }
    static void Touch(const QString& path, const char* text = "x") {
        std::ofstream(bsEncodeFileName(path).toStdString(), std::ios::binary) << text;
    }
    // Runs the dialog with `act` once it is up.
    bool Run(TbsSkinOpenDialog& dlg, std::function<void(TbsOpenDlgForm&)> act) {
        if (dlg.InitialDir.isEmpty() && dlg.FileName.isEmpty()) dlg.InitialDir = root.path();
        bool shown = false;
        auto c = QObject::connect(&dlg, &TbsSkinOpenDialog::Shown, [&](TbsOpenDlgForm* form) {
            shown = true;
            act(*form);
            if (form->isVisible()) form->done(2);  // a failed step must not hang the test
        });
        const bool result = dlg.ShowOpenDialog();
        QObject::disconnect(c);
        EXPECT_TRUE(shown);
        return result;
    }
    static QStringList Names(TbsOpenDlgForm& form) {
        auto* view = form.findChild<QListView*>("lvFiles");
        QStringList out;
        for (int r = 0; r < view->model()->rowCount(); ++r)
            out << view->model()->index(r, 0).data(Qt::UserRole).toString();
        return out;
    }
    static QAbstractItemView* View(TbsOpenDlgForm& form) {
        return form.ViewStyle() == vsReport ? static_cast<QAbstractItemView*>(form.findChild<QTreeView*>("tvDetails"))
                                            : form.findChild<QListView*>("lvFiles");
    }
    // Clicks the item of that name in the list.
    static void ClickItem(TbsOpenDlgForm& form, const QString& name, bool twice = false) {
        QAbstractItemView* view = View(form);
        const int row = static_cast<int>(Names(form).indexOf(name));
        ASSERT_GE(row, 0) << name.toStdString();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        const QPoint at = view->visualRect(index).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    static void TypeName(TbsOpenDlgForm& form, const QString& text, bool enter = true) {
        auto* edit = form.findChild<QLineEdit*>("edtFileName");
        edit->clear();
        QTest::keyClicks(edit, text);
        if (enter) QTest::keyClick(edit, Qt::Key_Return);
    }
    static void Press(TbsOpenDlgForm& form, const char* button) {
        auto* b = form.findChild<TbsSkinButton*>(button);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    // Opens the box with a press, moves into its list and lets go over the item.
    static void PickInBox(TbsSkinComboBox* box, int index) {
        ASSERT_NE(box, nullptr);
        QTest::mousePress(box, Qt::LeftButton, {}, box->ItemArea().center());
        ASSERT_TRUE(box->DroppedDown());
        TbsPopupListBox* list = box->ListBox();
        list->SetTopIndex(index);
        const QPoint over = list->mapToGlobal(list->ItemRect(index).center());
        const QPoint local = box->mapFromGlobal(over);
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(over), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), QPointF(over), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(box, &release);
        EXPECT_FALSE(box->DroppedDown());
        EXPECT_EQ(box->ItemIndex(), index);
    }
    static bool WaitUntil(const std::function<bool()>& cond, int ms = 3000) {
        QElapsedTimer t;
        t.start();
        while (!cond()) {
            if (t.elapsed() > ms) return false;
            QTest::qWait(5);
        }
        return true;
    }
    // Presses the view-menu button; the root window of its skinned menu.
    static TbsSkinPopupWindow* OpenViewMenu(TbsSkinMenuSpeedButton* button) {
        QTest::mousePress(button, Qt::LeftButton, {}, button->rect().center());
        QTest::mouseRelease(button, Qt::LeftButton, {}, button->rect().center());
        TbsSkinMenu* driver = button->SkinPopupMenu() ? button->SkinPopupMenu()->ShowingDriver() : nullptr;
        return driver ? driver->TopWindow() : nullptr;
    }
    // Points at an item of the open menu and clicks it.
    static void ChooseItem(TbsSkinPopupWindow* w, int index) {
        const QPoint at = w->Items()[std::size_t(index)]->ItemRect.center();
        QCursor::setPos(w->mapToGlobal(at));
        QTest::mouseMove(w, at);
        ASSERT_TRUE(WaitUntil([&] { return w->ActiveIndex() == index; }));
        QTest::mouseClick(w, Qt::LeftButton, {}, at);
    }
    QTemporaryDir root;
};

TEST_F(OpenDialog, AllFilesListsEveryFileAfterTheFoldersCaseBlind) {
    TbsSkinOpenDialog dlg;
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.windowTitle(), "Open file");
        auto* type = form.findChild<TbsSkinComboBox*>("cbxFileType");
        ASSERT_EQ(type->count(), 1);
        EXPECT_EQ(type->itemText(0), "All files");
        EXPECT_EQ(Names(form),
                  (QStringList{"Alpha", "zeta", "A.TXT", "b.txt", "notes.log", "pic.png", "README", "report.doc"}));
        EXPECT_TRUE(form.findChild<QLineEdit*>("edtFileName")->hasFocus() || !form.isActiveWindow());
    }));
}

TEST_F(OpenDialog, TypeBoxMasksAndATypedMaskThatLeavesTheTypeBox) {
    TbsSkinOpenDialog dlg;
    dlg.Filter = "Text|*.txt;*.log|All|*.*";
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* type = form.findChild<TbsSkinComboBox*>("cbxFileType");
        ASSERT_EQ(type->count(), 2);
        EXPECT_EQ(Names(form), (QStringList{"Alpha", "zeta", "A.TXT", "b.txt", "notes.log"}));
        PickInBox(type, 1);
        EXPECT_EQ(Names(form).size(), 8);
        TypeName(form, "*.DOC");
        EXPECT_EQ(Names(form), (QStringList{"Alpha", "zeta", "report.doc"}));
        EXPECT_EQ(type->ItemIndex(), 1);
        EXPECT_TRUE(form.isVisible());
        TypeName(form, "*.png;*.log");
        EXPECT_EQ(Names(form), (QStringList{"Alpha", "zeta", "notes.log", "pic.png"}));
    }));
    EXPECT_EQ(dlg.FilterIndex, 2);  // kept even though cancelled
    EXPECT_TRUE(TbsFileListModel::MatchesMask("Data[1].TXT", "*.txt"));
    EXPECT_TRUE(TbsFileListModel::MatchesMask("a1.c", "a?.c|*.h"));
    EXPECT_FALSE(TbsFileListModel::MatchesMask("ab.c", "a?.h;*.cpp"));
    EXPECT_FALSE(TbsFileListModel::MatchesMask("abc", "*"));  // a pattern without "." counts for nothing
    EXPECT_TRUE(TbsFileListModel::MatchesMask("b.txt", "[ab].TXT"));
}

TEST_F(OpenDialog, OpenTakesTheFileTheNameFieldNames) {
    TbsSkinOpenDialog dlg;
    auto field = [](TbsOpenDlgForm& form) { return form.findChild<QLineEdit*>("edtFileName"); };
    // The first item is drawn selected when the dialog opens, yet a name
    // typed next is what Open takes, absolute or in the present folder.
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(Names(form).front(), "Alpha");
        EXPECT_TRUE(field(form)->text().isEmpty());
        TypeName(form, root.filePath("zeta/inner.txt"));
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("zeta/inner.txt"));
    dlg.FileName.clear();
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        ClickItem(form, "b.txt");  // selected, then another name typed
        TypeName(form, "notes.log", false);
        Press(form, "btnOpen");
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("notes.log"));
    dlg.FileName.clear();

    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        Press(form, "btnOpen");  // nothing named: nothing happens
        EXPECT_TRUE(form.isVisible());
        // A name of nothing that exists: a short note, and the dialog stays.
        TypeName(form, "missing.txt");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("missing.txt")) << form.StatusText().toStdString();
        QTest::keyClicks(field(form), "x");  // typing again takes the note away
        EXPECT_TRUE(form.StatusText().isEmpty());
        // A typed folder opens, relative or absolute, and the field is emptied
        // so that the next name is not glued to it.
        TypeName(form, "zeta");
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        EXPECT_TRUE(field(form)->text().isEmpty());
        TypeName(form, root.path() + "/");
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
        EXPECT_TRUE(field(form)->text().isEmpty());
        // With a folder selected, Enter in the field and Open open it.
        ClickItem(form, "zeta");
        QTest::keyClick(field(form), Qt::Key_Return);
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        Press(form, "btnUp");
        ClickItem(form, "Alpha");
        Press(form, "btnOpen");
        EXPECT_EQ(form.Folder(), root.filePath("Alpha"));
        Press(form, "btnUp");
        // The file drawn selected in a folder just opened is not named until
        // it is clicked.
        ClickItem(form, "zeta", true);
        EXPECT_TRUE(View(form)->selectionModel()->isSelected(View(form)->model()->index(0, 0)));
        EXPECT_TRUE(field(form)->text().isEmpty());
        ClickItem(form, "inner.txt");
        EXPECT_EQ(field(form)->text(), "inner.txt");
        Press(form, "btnUp");
        EXPECT_TRUE(field(form)->text().isEmpty());  // it named a file of zeta
        ClickItem(form, "notes.log");
        EXPECT_EQ(field(form)->text(), "notes.log");
        QFile::remove(root.filePath("notes.log"));  // vanished while shown
        Press(form, "btnOpen");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("no longer exists")) << form.StatusText().toStdString();
        ClickItem(form, "b.txt");
        Press(form, "btnOpen");
        EXPECT_FALSE(form.isVisible());
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("b.txt"));
    EXPECT_EQ(dlg.Files, QStringList{root.filePath("b.txt")});

    // Without CheckFileExists a name of nothing yet is taken in the present folder.
    dlg.CheckFileExists = false;
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) { TypeName(form, "new.txt"); }));
    EXPECT_EQ(dlg.FileName, root.filePath("new.txt"));
}

TEST_F(OpenDialog, CancelEscapeAndCloseLeaveTheNameButKeepIndexAndSize) {
    TbsSkinOpenDialog dlg;
    dlg.Filter = "Text|*.txt|All|*.*";
    dlg.FileName = root.filePath("zeta/inner.txt");
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        EXPECT_EQ(form.findChild<QLineEdit*>("edtFileName")->text(), "inner.txt");
        EXPECT_EQ(form.Client()->size(), QSize(450, 290));
        PickInBox(form.findChild<TbsSkinComboBox*>("cbxFileType"), 1);
        form.resize(520, 330);
        Press(form, "btnCancel");
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("zeta/inner.txt"));
    EXPECT_EQ(dlg.FilterIndex, 2);
    EXPECT_EQ(QSize(dlg.DialogWidth, dlg.DialogHeight), QSize(520, 330));
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.Client()->size(), QSize(520, 330));
        EXPECT_EQ(form.findChild<TbsSkinComboBox*>("cbxFileType")->ItemIndex(), 1);
        QTest::keyClick(form.findChild<QLineEdit*>("edtFileName"), Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    }));
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) { form.close(); }));
    EXPECT_EQ(dlg.FileName, root.filePath("zeta/inner.txt"));
    // A missing starting folder gives way to InitialDir.
    dlg.FileName = root.filePath("gone/x.txt");
    dlg.InitialDir = root.filePath("zeta");
    Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        EXPECT_EQ(form.findChild<QLineEdit*>("edtFileName")->text(), "x.txt");
    });
}

TEST_F(OpenDialog, FoldersOpenGoUpBackAndNewFolder) {
    TbsSkinOpenDialog dlg;
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        ClickItem(form, "zeta", true);
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        EXPECT_EQ(Names(form), QStringList{"inner.txt"});
        QTest::keyClick(View(form), Qt::Key_Backspace);
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
        Press(form, "btnBack");  // back to zeta
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        Press(form, "btnUp");
        Press(form, "btnNewFolder");
        EXPECT_TRUE(QFileInfo(root.filePath("New Folder")).isDir());
        EXPECT_TRUE(Names(form).contains("New Folder"));
        Press(form, "btnNewFolder");  // exists: nothing more
        TypeName(form, root.filePath("zeta") + "/");  // a typed folder opens
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        auto* box = form.findChild<TbsSkinComboBox*>("cbxFolder");
        EXPECT_EQ(form.FolderBoxPaths().value(box->ItemIndex()), root.filePath("zeta"));
        EXPECT_EQ(box->Text().trimmed(), "zeta");
        ClickItem(form, "inner.txt", true);  // a double-click chooses at once
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("zeta/inner.txt"));
}

TEST_F(OpenDialog, FourViewsAndTheDetailsColumns) {
    TbsSkinOpenDialog dlg;
    Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* button = form.findChild<TbsSkinMenuSpeedButton*>("btnViewMenu");
        ASSERT_NE(button, nullptr);
        QSignalSpy hidden(button, &TbsSkinMenuSpeedButton::HideTrackMenu);
        TbsSkinPopupWindow* w = OpenViewMenu(button);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // not a Qt menu
        EXPECT_TRUE(button->Down());
        ASSERT_EQ(w->Items().size(), 4u);
        QStringList styles;
        for (const auto& item : w->Items()) styles << item->PlainCaption();
        EXPECT_EQ(styles, (QStringList{"Large icons", "Small icons", "List", "Details"}));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(w->Items()[std::size_t(i)]->Checked, i == 2);  // List first
        EXPECT_FALSE(w->Items()[2]->Radio);  // a check mark, not a radio dot
        ChooseItem(w, 3);
        EXPECT_EQ(form.ViewStyle(), vsReport);
        EXPECT_TRUE(WaitUntil([&] { return !button->Down(); }));
        EXPECT_EQ(hidden.count(), 1);
        w = OpenViewMenu(button);
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->Items()[3]->Checked);  // the check mark moved
        EXPECT_FALSE(w->Items()[2]->Checked);
        QTest::keyClick(&form, Qt::Key_Escape);  // closes the menu, not the dialog
        EXPECT_TRUE(WaitUntil([&] { return !button->Down(); }));
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(hidden.count(), 2);
        auto* details = form.findChild<QTreeView*>("tvDetails");
        EXPECT_TRUE(details->isVisible());
        QStringList captions;
        for (int c = 0; c < details->model()->columnCount(); ++c)
            captions << details->model()->headerData(c, Qt::Horizontal).toString();
        EXPECT_EQ(captions, (QStringList{"Name", "Size", "Type", "Modified"}));
        const int x = QFontMetrics(details->font()).horizontalAdvance('X');
        EXPECT_EQ(details->header()->sectionSize(0), 25 * x);
        const int row = static_cast<int>(Names(form).indexOf("report.doc"));
        EXPECT_EQ(details->model()->index(row, 1).data().toString(), "1");
        EXPECT_EQ(details->model()->index(row, 2).data().toString(), "doc");
        EXPECT_EQ(details->model()->index(0, 1).data().toString(), "");  // a folder has no size
        ClickItem(form, "pic.png");
        EXPECT_EQ(form.findChild<QLineEdit*>("edtFileName")->text(), "pic.png");
        w = OpenViewMenu(button);
        ASSERT_NE(w, nullptr);
        ChooseItem(w, 0);
        EXPECT_EQ(form.findChild<QListView*>("lvFiles")->viewMode(), QListView::IconMode);
    });
    EXPECT_EQ(dlg.ViewStyle, 0);  // remembered
}

TEST_F(OpenDialog, TheNameFieldHasTheSkinnedEditMenu) {
    TbsSkinOpenDialog dlg;
    Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* name = form.findChild<TbsSkinEdit*>("edtFileName");
        ASSERT_NE(name, nullptr);
        QApplication::clipboard()->setText("notes.log");
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, name->mapTo(&form, QPoint(10, 5)));
        TbsSkinPopupMenu* menu = bsEditMenuOf(*name);
        ASSERT_NE(menu, nullptr);
        TbsSkinMenu* driver = menu->ShowingDriver();
        ASSERT_NE(driver, nullptr);
        TbsSkinPopupWindow* w = driver->TopWindow();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        int paste = -1;
        for (std::size_t i = 0; i < w->Items().size(); ++i)
            if (w->Items()[i]->PlainCaption() == "Paste") paste = int(i);
        ASSERT_GE(paste, 0);
        EXPECT_TRUE(w->Items()[std::size_t(paste)]->Enabled);
        ChooseItem(w, paste);
        EXPECT_EQ(name->text(), "notes.log");
        EXPECT_TRUE(form.isVisible());
        // Escape in the field still cancels the dialog once the menu is gone.
        QTest::keyClick(name, Qt::Key_Escape);
        EXPECT_FALSE(form.isVisible());
    });
    QApplication::clipboard()->clear();
}

TEST_F(OpenDialog, UnreadableAndVanishingFoldersGiveANote) {
    TbsSkinOpenDialog dlg;
    QDir(root.path()).mkdir("doomed");
    Touch(root.filePath("doomed/a.txt"));
    ASSERT_EQ(symlink(root.filePath("nowhere").toLocal8Bit().constData(), root.filePath("dangling").toLocal8Bit().constData()), 0);
    QDir(root.path()).mkdir("closed");
    chmod(root.filePath("closed").toLocal8Bit().constData(), 0);
    Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_FALSE(form.OpenFolder(root.filePath("nowhere")));
        EXPECT_TRUE(form.StatusText().contains("cannot be read"));
        EXPECT_TRUE(Names(form).isEmpty());
        form.GoBack();
        EXPECT_TRUE(form.StatusText().isEmpty());
        if (geteuid() != 0) {  // root reads every folder
            ClickItem(form, "closed", true);
            EXPECT_TRUE(form.StatusText().contains("cannot be read"));
            form.GoBack();
        }
        ClickItem(form, "doomed", true);
        ASSERT_EQ(Names(form), QStringList{"a.txt"});
        QDir(root.filePath("doomed")).removeRecursively();
        QTest::keyClick(View(form), Qt::Key_F5);
        EXPECT_TRUE(form.StatusText().contains("cannot be read"));
        Press(form, "btnUp");
        EXPECT_TRUE(form.StatusText().isEmpty());
        EXPECT_FALSE(Names(form).contains("doomed"));
        EXPECT_FALSE(Names(form).contains("dangling") && false);
    });
    chmod(root.filePath("closed").toLocal8Bit().constData(), 0700);
}

TEST_F(OpenDialog, AHundredThousandEntriesComeInBatches) {
    // Memory-backed when the machine has it: the files themselves are not the point.
    QTemporaryDir shm(QDir("/dev/shm").exists() ? "/dev/shm/rasp-open-XXXXXX" : QDir::tempPath() + "/rasp-open-XXXXXX");
    ASSERT_TRUE(shm.isValid());
    const QString big = shm.filePath("big");
    QDir(shm.path()).mkdir("big");
    const QByteArray dir = bsEncodeFileName(big);
    for (int i = 0; i < 100000; ++i) {
        const QByteArray name = dir + "/f" + QByteArray::number(i) + ".txt";
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    TbsSkinOpenDialog dlg;
    dlg.InitialDir = big;
    dlg.ViewStyle = vsReport;
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* model = static_cast<TbsFileListModel*>(View(form)->model());
        EXPECT_EQ(model->TotalCount(), 100000);
        EXPECT_LE(model->rowCount(), 2 * TbsFileListModel::BatchSize);
        View(form)->scrollToBottom();
        QApplication::processEvents();
        while (model->canFetchMore({})) model->fetchMore({});
        EXPECT_EQ(model->rowCount(), 100000);
        EXPECT_EQ(model->NameAt(99999), "f99999.txt");
        View(form)->scrollToBottom();
        ClickItem(form, "f99999.txt");
        Press(form, "btnOpen");
    }));
    EXPECT_EQ(dlg.FileName, big + "/f99999.txt");
}

TEST_F(OpenDialog, NamesThatAreNotValidTextAreListedAndOpen) {
    const QByteArray raw = bsEncodeFileName(root.path()) + "/caf\xe9-\xff.txt";
    ASSERT_TRUE(std::ofstream(raw.toStdString()) << "bytes");
    TbsSkinOpenDialog dlg;
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        const QString name = bsDecodeFileName("caf\xe9-\xff.txt");
        ASSERT_TRUE(Names(form).contains(name));
        ClickItem(form, name);
        EXPECT_EQ(form.findChild<QLineEdit*>("edtFileName")->text(), QString::fromUtf8("caf\xef\xbf\xbd-\xef\xbf\xbd.txt"));
        Press(form, "btnOpen");
    }));
    EXPECT_EQ(bsEncodeFileName(dlg.FileName), raw);
    std::ifstream in(bsEncodeFileName(dlg.FileName).toStdString());
    std::string text;
    in >> text;
    EXPECT_EQ(text, "bytes");
}

TEST_F(OpenDialog, FolderAndTypeAreChosenThroughTheSkinnedBoxes) {
    TbsSkinOpenDialog dlg;
    dlg.Filter = "Text|*.txt;*.log|All|*.*|Dangling description";
    dlg.FileName = root.filePath("zeta/inner.txt");
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* folders = form.findChild<TbsSkinComboBox*>("cbxFolder");
        auto* types = form.findChild<TbsSkinComboBox*>("cbxFileType");
        ASSERT_TRUE(folders && types);
        EXPECT_EQ(folders->SkinDataName(), "combobox");  // no skin, so no tool entry either
        EXPECT_EQ(folders->DropDownCount(), 10);
        // The chain from the top down to the present folder, indented by depth.
        const QStringList paths = form.FolderBoxPaths();
        ASSERT_GE(paths.size(), 3);
        EXPECT_EQ(paths.front(), "/");
        EXPECT_EQ(paths.back(), root.filePath("zeta"));
        EXPECT_EQ(folders->count(), paths.size());
        // Every folder of the chain shows the folder picture.
        ASSERT_EQ(folders->Images().size(), folders->count());
        for (int i = 0; i < folders->count(); ++i)
            EXPECT_FALSE(bsItemImage(folders->Images(), folders->ImageIndex(), i).isNull());
        EXPECT_EQ(folders->ItemIndex(), paths.size() - 1);
        EXPECT_EQ(folders->itemText(int(paths.size()) - 1),
                  QString(2 * (int(paths.size()) - 1), ' ') + "zeta");
        PickInBox(folders, int(paths.size()) - 2);
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
        EXPECT_EQ(Names(form), (QStringList{"Alpha", "zeta", "A.TXT", "b.txt", "notes.log"}));
        EXPECT_EQ(form.History().back(), form.Folder());
        EXPECT_EQ(form.FolderBoxPaths().back(), form.Folder());
        // The trailing description without a mask is dropped.
        ASSERT_EQ(types->count(), 2);
        EXPECT_EQ(types->Text(), "Text");
        PickInBox(types, 1);
        EXPECT_EQ(types->Text(), "All");
        EXPECT_EQ(form.ListMask(), "*.*");
        EXPECT_EQ(Names(form).size(), 8);
        // The keyboard selects too, and the folder stays.
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Up);
        EXPECT_EQ(types->ItemIndex(), 0);
        EXPECT_EQ(Names(form).size(), 5);
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
        // Back in zeta through the box's keyboard, then a typed path still opens.
        ClickItem(form, "zeta", true);
        folders->setFocus();
        QTest::keyClick(folders, Qt::Key_Up);
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
        TypeName(form, root.filePath("Alpha"));
        EXPECT_EQ(form.Folder(), root.filePath("Alpha"));
        EXPECT_EQ(folders->Text().trimmed(), "Alpha");
    }) == false);
    EXPECT_EQ(dlg.FilterIndex, 1);
}

// The built-in skin, as the window carries it.
struct TBuiltinSkin {
    TBuiltinSkin() {
        bsAssignBuiltinSkin(Stored);
        Data.SetCompressedStoredSkin(&Stored);
    }
    TbsCompressedStoredSkin Stored;
    TbsSkinData Data;
};

TEST_F(OpenDialog, TheSkinnedBoxesTakeTheirEntriesAndTheFrameItsMinimumSize) {
    TBuiltinSkin skin;
    ASSERT_GE(skin.Data.IndexOfControl("toolcombobox"), 0);
    TbsSkinOpenDialog dlg;
    dlg.SetSkinData(&skin.Data);
    dlg.SetCtrlSkinData(&skin.Data);
    dlg.DialogMinWidth = 600;
    dlg.DialogMinHeight = 400;
    dlg.AlphaBlend = true;
    dlg.AlphaBlendValue = 200;
    dlg.CtrlAlphaBlend = true;
    dlg.CtrlAlphaBlendValue = 170;
    Run(dlg, [&](TbsOpenDlgForm& form) {
        auto* folders = form.findChild<TbsSkinComboBox*>("cbxFolder");
        auto* types = form.findChild<TbsSkinComboBox*>("cbxFileType");
        EXPECT_EQ(folders->SkinDataName(), "toolcombobox");
        EXPECT_EQ(types->SkinDataName(), "combobox");
        EXPECT_TRUE(folders->IsSkinned());
        EXPECT_TRUE(types->IsSkinned());
        TbsSkinForm* frame = bsFindSkinForm(&form);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->SkinSupport());
        EXPECT_GE(form.width(), 600);
        EXPECT_GE(form.height(), 400);
        EXPECT_NEAR(form.windowOpacity(), 200 / 255.0, 0.01);
        form.resize(200, 150);
        EXPECT_GE(form.width(), 600);
        EXPECT_GE(form.height(), 400);
        // The client is the window less the frame's borders.
        const TbsMargins m = frame->NonClient();
        EXPECT_EQ(form.Client()->width(), form.width() - m.Left - m.Right);
        QTest::mousePress(types, Qt::LeftButton, {}, types->ItemArea().center());
        ASSERT_TRUE(types->DroppedDown());
        EXPECT_NEAR(types->ListBox()->windowOpacity(), 170 / 255.0, 0.01);
        types->CloseUp(false);
        QTest::mouseRelease(types, Qt::LeftButton, {}, types->ItemArea().center());
        EXPECT_EQ(folders->height(), folders->Geometry().SkinRect.Height());
        EXPECT_EQ(form.ListMask(), "*.*");
    });
    EXPECT_GE(dlg.DialogWidth, 600 - 20);
    // Without a frame the window itself keeps the limits; a size below them grows.
    TbsSkinOpenDialog plain;
    plain.DialogMinWidth = 520;
    plain.DialogMinHeight = 350;
    plain.DialogWidth = 300;
    plain.DialogHeight = 200;
    Run(plain, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(bsFindSkinForm(&form), nullptr);
        EXPECT_EQ(form.size(), QSize(520, 350));
        form.resize(100, 100);
        EXPECT_EQ(form.size(), QSize(520, 350));
        EXPECT_DOUBLE_EQ(form.windowOpacity(), 1.0);
    });
    EXPECT_EQ(QSize(plain.DialogWidth, plain.DialogHeight), QSize(520, 350));
}

TEST_F(OpenDialog, FolderChangeIsCalledOncePerChangeOfFolderOrSelection) {
    TbsSkinOpenDialog dlg;
    dlg.Filter = "Text|*.txt|All|*.*";
    QStringList seen;
    dlg.OnFolderChange = [&](TbsOpenDlgForm* form) { seen << form->Folder(); };
    const QString top = QDir(root.path()).absolutePath();
    Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(seen, QStringList{top});  // the starting folder
        seen.clear();
        ClickItem(form, "zeta", true);
        // The press selected "zeta" (one), the double-click opened it (one).
        EXPECT_EQ(seen, (QStringList{top, root.filePath("zeta")}));
        seen.clear();
        QTest::keyClick(View(form), Qt::Key_Backspace);
        Press(form, "btnBack");
        PickInBox(form.findChild<TbsSkinComboBox*>("cbxFolder"), int(form.FolderBoxPaths().size()) - 2);
        EXPECT_EQ(seen, (QStringList{top, root.filePath("zeta"), top}));
        seen.clear();
        // Not changes of folder: reading it again, another type, the same folder.
        QTest::keyClick(View(form), Qt::Key_F5);
        PickInBox(form.findChild<TbsSkinComboBox*>("cbxFileType"), 1);
        form.OpenFolder(top);
        EXPECT_TRUE(seen.isEmpty()) << seen.join(',').toStdString();
        ClickItem(form, "b.txt");
        ClickItem(form, "notes.log");
        EXPECT_EQ(seen, (QStringList{top, top}));
        seen.clear();
        // A folder that cannot be read is still where the dialog is.
        form.OpenFolder(root.filePath("nowhere"));
        EXPECT_EQ(seen, QStringList{root.filePath("nowhere")});
    });
}

TEST_F(OpenDialog, AltEnterShowsTheItemsProperties) {
    TbsSkinOpenDialog dlg;
    Run(dlg, [&](TbsOpenDlgForm& form) {
        std::vector<TMessageRequest> asked;
        form.Messages()->SetAnswerHook([&](const TMessageRequest& r) {
            asked.push_back(r);
            return mrOk;
        });
        ClickItem(form, "report.doc");
        QTest::keyClick(View(form), Qt::Key_Return, Qt::AltModifier);
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].Type, mtInformation);
        EXPECT_TRUE(asked[0].Text.contains("Name: report.doc\n")) << asked[0].Text.toStdString();
        EXPECT_TRUE(asked[0].Text.contains("Type: File\nSize: 1 bytes\n")) << asked[0].Text.toStdString();
        EXPECT_TRUE(form.isVisible());  // not taken as Open
        ClickItem(form, "Alpha");
        QTest::keyClick(View(form), Qt::Key_Return, Qt::AltModifier);
        ASSERT_EQ(asked.size(), 2u);
        EXPECT_TRUE(asked[1].Text.contains("Type: Folder\n"));
        EXPECT_FALSE(asked[1].Text.contains("Size:"));
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());  // nor opened
        QDir(root.filePath("Alpha")).removeRecursively();  // vanished while shown
        QTest::keyClick(View(form), Qt::Key_Return, Qt::AltModifier);
        ASSERT_EQ(asked.size(), 3u);
        EXPECT_EQ(asked[2].Type, mtError);
        EXPECT_TRUE(asked[2].Text.contains("cannot be examined")) << asked[2].Text.toStdString();
    });
}

TEST_F(OpenDialog, SaveModeTakesTypedNamesAndAddsTheTypesExtension) {
    TbsSkinOpenDialog dlg;
    dlg.SaveMode = true;
    dlg.Title = "Save file";
    dlg.Filter = "Text|*.txt;*.log|All|*.*";
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.findChild<TbsSkinButton*>("btnOpen")->text(), "&Save");
        Press(form, "btnOpen");  // an empty name does nothing
        EXPECT_TRUE(form.isVisible());
        TypeName(form, "*.log");  // a mask narrows the list
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(Names(form), (QStringList{"Alpha", "zeta", "notes.log"}));
        TypeName(form, "zeta");  // a folder's name opens it
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(form.Folder(), root.filePath("zeta"));
        TypeName(form, "draft");
    }));
    // Neither an existing file nor a selection is needed; the type's extension is added.
    EXPECT_EQ(dlg.FileName, root.filePath("zeta/draft.txt"));
    EXPECT_FALSE(QFile::exists(dlg.FileName));
    EXPECT_EQ(dlg.FilterIndex, 1);

    dlg.FileName = root.filePath("b.txt");
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        EXPECT_EQ(form.findChild<QLineEdit*>("edtFileName")->text(), "b.txt");
        Press(form, "btnOpen");  // an existing file is taken as it is
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("b.txt"));

    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) { TypeName(form, "Notes.TXT"); }));
    EXPECT_EQ(dlg.FileName, root.filePath("Notes.TXT"));  // the extension differs only in case
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) { TypeName(form, "page.html"); }));
    EXPECT_EQ(dlg.FileName, root.filePath("page.html.txt"));
    EXPECT_TRUE(Run(dlg, [&](TbsOpenDlgForm& form) {
        PickInBox(form.findChild<TbsSkinComboBox*>("cbxFileType"), 1);
        TypeName(form, "page.html");
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("page.html"));  // "*.*" adds nothing
    EXPECT_EQ(dlg.FilterIndex, 2);

    // Cancel leaves the name.
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        TypeName(form, "other", false);
        Press(form, "btnCancel");
    }));
    EXPECT_EQ(dlg.FileName, root.filePath("page.html"));
}

TEST_F(OpenDialog, SaveModeRefusesNamesThatCannotBeSavedWithANote) {
    TbsSkinOpenDialog dlg;
    dlg.SaveMode = true;
    dlg.Filter = "All|*.*";
    EXPECT_FALSE(Run(dlg, [&](TbsOpenDlgForm& form) {
        TypeName(form, "missing/x.txt");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("does not exist")) << form.StatusText().toStdString();
        TypeName(form, QString(300, 'n') + ".txt");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("too long")) << form.StatusText().toStdString();
        EXPECT_LT(form.StatusText().size(), 200);
        TypeName(form, "..");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("not a file name"));
        // The folder went away while the dialog showed it.
        ClickItem(form, "zeta", true);
        QDir(root.filePath("zeta")).removeRecursively();
        TypeName(form, "late.txt");
        EXPECT_TRUE(form.isVisible());
        EXPECT_TRUE(form.StatusText().contains("does not exist"));
        EXPECT_FALSE(QFile::exists(root.filePath("zeta/late.txt")));
        Press(form, "btnCancel");
    }));
}

TEST_F(OpenDialog, AVeryLongPathGivesAShortNoteAndKeepsTheDialogsSize) {
    TbsSkinOpenDialog dlg;
    Run(dlg, [&](TbsOpenDlgForm& form) {
        const QSize before = form.size();
        QString deep = root.path();
        while (deep.size() < 5000) deep += "/" + QString(200, 'd');
        EXPECT_FALSE(form.OpenFolder(deep));
        EXPECT_TRUE(form.StatusText().contains("cannot be read")) << form.StatusText().toStdString();
        EXPECT_LT(form.StatusText().size(), 200);
        QApplication::processEvents();
        EXPECT_EQ(form.size(), before);
        // Typed, it is neither opened nor taken.
        auto* edit = form.findChild<QLineEdit*>("edtFileName");
        edit->setText(deep);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(form.isVisible());
        // A file where a folder should be.
        EXPECT_FALSE(form.OpenFolder(root.filePath("b.txt/inner")));
        EXPECT_TRUE(form.StatusText().contains("cannot be read"));
        form.GoBack();
        form.GoBack();
        EXPECT_TRUE(form.StatusText().isEmpty());
        EXPECT_EQ(form.Folder(), QDir(root.path()).absolutePath());
    });
}

TEST(FileNames, EveryByteStringSurvivesTheTripToTextAndBack) {
    std::mt19937 random(16);
    for (int round = 0; round < 20000; ++round) {
        QByteArray bytes(static_cast<int>(random() % 12), '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0x80 + random() % 0x80 : random() % 256);
        const QString text = bsDecodeFileName(bytes);
        ASSERT_EQ(bsEncodeFileName(text), bytes);
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(text, QString::fromUtf8(bytes));
        }
    }
    // Proper text is plain UTF-8, astral characters included.
    EXPECT_EQ(bsEncodeFileName(QString::fromUtf8("\xf0\x9f\x98\x80 \xc3\xa9")), QByteArray("\xf0\x9f\x98\x80 \xc3\xa9"));
    EXPECT_EQ(bsDecodeFileName("\xed\xa0\x80").size(), 3);  // an encoded surrogate is three carried bytes
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
