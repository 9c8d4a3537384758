// "Import" of the two panes: a file chosen in the open dialog fills the pane,
// a word-processor document (by name or by content) through automation, a
// text file through the pane's own loader; anything else is refused. The
// pane's change handling does the rest.

#include "app/MainWindowImport.h"

#include "app/MainWindow.h"
#include "platform/automation/ArticleImport.h"
#include "platform/automation/LibreOfficeWord.h"
#include "platform/automation/WordDocumentReader.h"
#include "platform/textload/TextFileLoader.h"
#include "skinctrls/TbsSkinOpenDialog.h"
#include "skinctrls/bsFileNames.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QPointer>


namespace rasp {

namespace {

// Owned by the window as a child object, found again by its name.
class TImportState : public QObject {
public:
    explicit TImportState(QObject* owner) : QObject(owner) {
        setObjectName(QStringLiteral("importState"));
        RegisterLibreOfficeWord(Registry);
    }
    TAutomationRegistry Registry;
    bool Running = false;
};

TImportState& StateOf(TfrmMain& window) {
    for (QObject* child : window.children()) {
        if (auto* state = dynamic_cast<TImportState*>(child)) return *state;
    }
    return *new TImportState(&window);
}

// Everything the import changes for its duration comes back on every way
// out, unless the widget concerned is gone by then.
class TImportScope {
public:
    TImportScope(std::initializer_list<QWidget*> buttons, QtRichTextPane* pane) : FPane(pane) {
        for (QWidget* b : buttons) {
            if (b && b->isEnabled()) {
                b->setEnabled(false);
                FButtons.emplace_back(b);
            }
        }
        FPaneWasReadOnly = pane->isReadOnly();
        // Typing into the emptied pane while a document converts would be lost.
        pane->setReadOnly(true);
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TImportScope() {
        QApplication::restoreOverrideCursor();
        if (FPane) FPane->setReadOnly(FPaneWasReadOnly);
        for (const QPointer<QWidget>& b : FButtons) {
            if (b) b->setEnabled(true);
        }
    }
    TImportScope(const TImportScope&) = delete;
    TImportScope& operator=(const TImportScope&) = delete;

private:
    QPointer<QtRichTextPane> FPane;
    std::vector<QPointer<QWidget>> FButtons;
    bool FPaneWasReadOnly = false;
};

class TRunningFlag {
public:
    explicit TRunningFlag(TImportState& state) : FState(&state) { state.Running = true; }
    ~TRunningFlag() {
        if (FState) FState->Running = false;
    }
    TRunningFlag(const TRunningFlag&) = delete;
    TRunningFlag& operator=(const TRunningFlag&) = delete;

private:
    QPointer<TImportState> FState;
};

void Import(TfrmMain& window, TbsSkinRichEdit* pane) {
    TImportState& state = StateOf(window);
    // A second Import while one runs (from the events pumped during a
    // conversion) would empty a pane that is about to be filled.
    if (state.Running) return;
    const QPointer<TfrmMain> alive(&window);

    if (!window.bsSkinOpenDialog1) {
        window.bsSkinOpenDialog1 = new TbsSkinOpenDialog(&window);
        window.bsSkinOpenDialog1->setObjectName(QStringLiteral("bsSkinOpenDialog1"));
        window.bsSkinOpenDialog1->SetCtrlSkinData(window.bsSkinData1);
    }
    TRunningFlag running(state);
    if (!window.bsSkinOpenDialog1->ShowOpenDialog() || !alive) return;
    const QString fileName = window.bsSkinOpenDialog1->FileName;

    QString error;
    {
        TImportScope scope({window.btnImport1, window.btnImport2}, pane);
        try {
            // The dialog carries bytes of names that are not valid text; give them back.
            const std::string name = bsEncodeFileName(fileName).toStdString();
            // A file that cannot be read, or is not text, is refused before
            // the pane gives up what it holds.
            const TImportRoute route = ChooseImportRoute(name);
            pane->Clear();
            if (route == TImportRoute::WordProcessor) {
                // The conversion handles the window's events while it runs;
                // the window may be gone when it returns.
                const std::vector<std::u16string> lines = ReadDocumentLines(state.Registry, name);
                if (!alive) return;
                pane->SetLinesText(lines);
                QCoreApplication::processEvents();
            } else {
                pane->LoadFromFile(name);
            }
        } catch (const ELoadStreamError& e) {
            error = QString::fromUtf8(e.what()) + ": " + QString::fromUtf8(e.Reason().c_str()) + ".";
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        }
    }
    // Nobody is left to read a message once the window has been closed.
    if (!alive || error.isEmpty() || !window.isVisible()) return;
    window.msgMain->MessageDlg(
        QStringLiteral("The article could not be imported from \"%1\".\n\n%2").arg(fileName, error), mtError,
        {mbOK}, 0);
}

}  // namespace

TAutomationRegistry& ImportAutomation(TfrmMain& window) { return StateOf(window).Registry; }

bool ImportRunning(TfrmMain& window) { return StateOf(window).Running; }

void TfrmMain::btnImport1Click() { Import(*this, rchArticle1); }
void TfrmMain::btnImport2Click() { Import(*this, rchArticle2); }

}  // namespace rasp
