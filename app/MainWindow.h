#pragma once
// The main window: two article panes side by side with their counters and
// keyword boxes, the tool strip, the banner strip and the footer with the
// duplicate percentage and the comparison settings.

#include "compare/ArticleComparer.h"
#include "skinctrls/TbsSkinButton.h"
#include "skinctrls/TbsSkinBevel.h"
#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinGroupBox.h"
#include "skinctrls/TbsSkinLinkLabel.h"
#include "skinctrls/TbsSkinMessage.h"
#include "skinctrls/TbsSkinNumericEdit.h"
#include "skinctrls/TbsSkinPanel.h"
#include "skinctrls/TbsSkinRichEdit.h"
#include "skinctrls/TbsSkinScrollBar.h"
#include "skinctrls/TbsSkinSpinEdit.h"
#include "skinctrls/TbsSkinStdLabel.h"

#include <QString>
#include <QWidget>

class QAction;
class QMenu;
class QTimer;
// The skin engine's classes live outside our namespace.
class TbsSkinData;
class TbsCompressedStoredSkin;
class TbsSkinForm;

namespace rasp {

class TGIFAnimator;
class TImage;
class TbsSkinOpenDialog;
class TUpdateChecker;

inline constexpr const char* AppVersion = "1.01";

struct TMainWindowOptions {
    // Where the deployment files lie and downloads go; empty: the folder of
    // the running executable.
    QString ProgramDir;
    // The silent check at start and the "Check Updates" command.
    bool CheckUpdates = true;
    // The update folder; empty: the compiled-in one.
    QString UpdateBaseURL;
};

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(TMainWindowOptions options = {}, QWidget* parent = nullptr);
    ~TfrmMain() override;

    const TMainWindowOptions& Options() const { return FOptions; }
    // The program directory, ending with '/'.
    QString ProgramDir() const;

    // Tool strip.
    TbsSkinPanel* bsSkinPanel1;
    TbsSkinButton* btnCompareEx;
    TbsSkinButton* btnHelp;
    TbsSkinButton* btnUpdate;
    TbsSkinButton* btnMakeMoney;
    // Banner strip.
    TbsSkinPanel* panBanner;
    TImage* imgBanner;
    TGIFAnimator* gifBanner;
    // Footer.
    TbsSkinPanel* bsSkinPanel4;
    TbsSkinStdLabel* bsSkinStdLabel10;
    TbsSkinNumericEdit* edtDuplicate;
    TbsSkinStdLabel* bsSkinStdLabel11;
    TbsSkinStdLabel* bsSkinStdLabel3;
    TbsSkinSpinEdit* minNumWords;
    TbsSkinComboBox* cbxType;
    TbsSkinLinkLabel* lblLink1URL;
    TbsSkinLinkLabel* lblLink2URL;
    // The two articles.
    TbsSkinGroupBox* panLeft;
    TbsSkinPanel* bsSkinPanel5;
    TbsSkinGroupBox* bsSkinGroupBox2;

    TbsSkinPanel* bsSkinPanel2;
    TbsSkinButton* btnImport1;
    TbsSkinButton* btnClearH1;
    TbsSkinButton* btnClear1;
    TbsSkinRichEdit* rchArticle1;
    TbsSkinScrollBar* bsSkinScrollBar1;
    TbsSkinPanel* bsSkinPanel3;
    TbsSkinStdLabel* bsSkinStdLabel1;
    TbsSkinBevel* bsSkinBevel1;
    TbsSkinNumericEdit* edtWords1;
    TbsSkinNumericEdit* edtSenten1;
    TbsSkinNumericEdit* edtParag1;
    TbsSkinEdit* edtKw1;
    TbsSkinButton* btnCalculateKwDensity1;
    TbsSkinNumericEdit* edtDensPerc1;
    TbsSkinNumericEdit* edtDensTotal1;

    TbsSkinPanel* bsSkinPanel7;
    TbsSkinButton* btnImport2;
    TbsSkinButton* btnClearH2;
    TbsSkinButton* btnClear2;
    TbsSkinRichEdit* rchArticle2;
    TbsSkinScrollBar* bsSkinScrollBar2;
    TbsSkinPanel* bsSkinPanel6;
    TbsSkinStdLabel* bsSkinStdLabel2;
    TbsSkinBevel* bsSkinBevel2;
    TbsSkinNumericEdit* edtWords2;
    TbsSkinNumericEdit* edtSenten2;
    TbsSkinNumericEdit* edtParag2;
    TbsSkinEdit* edtKw2;
    TbsSkinButton* btnCalculateKwDensity2;
    TbsSkinNumericEdit* edtDensPerc2;
    TbsSkinNumericEdit* edtDensTotal2;

    // Non-visual components. The skin, frame, open dialog and update checker
    // are created by the code of their own features.
    TbsSkinData* bsSkinData1 = nullptr;
    TbsCompressedStoredSkin* bsCompressedStoredSkin1 = nullptr;
    ::TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinMessage* msgMain;
    TbsSkinOpenDialog* bsSkinOpenDialog1 = nullptr;
    TUpdateChecker* FUpdateChecker = nullptr;
    QTimer* Timer1;
    QMenu* PopupMenu1;
    QAction* mnuPaste;
    QMenu* PopupMenu2;
    QAction* MenuItem1;

    // Handlers of the window's events.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormDestroy();
    void Timer1Timer();
    void btnCompareExClick();
    void btnHelpClick();
    void btnUpdateClick();
    void btnMakeMoneyClick();
    void imgBannerClick();
    void gifBannerClick();
    void rchArticle1Change();
    void rchArticle2Change();
    void btnImport1Click();
    void btnImport2Click();
    void btnClearH1Click();
    void btnClearH2Click();
    void btnClear1Click();
    void btnClear2Click();
    void btnCalculateKwDensity1Click();
    void btnCalculateKwDensity2Click();
    void minNumWordsChange();
    void mnuPasteClick();
    void MenuItem1Click();

    // Deployment settings: title, affiliate id, banner, links, skin, icon.
    void LoadSettings();
    // The update check; Silent: no message when there is no update.
    void CheckForUpdates(bool Silent);
    // Opens a web page in the browser; when none can be started the user
    // is told the address to open by hand.
    void OpenLink(const QString& url);

    // The smallest client area at which every control is whole and none
    // overlaps another, for the present captions and skin.
    QSize MinimumClientSize() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The pane, lists, stored text and counters of one article: the twin
    // handlers differ only in these.
    struct TArticle {
        TbsSkinRichEdit* Pane;
        TListWords& Words;
        TListSentences& Sentences;
        TListParagraphs& Paragraphs;
        std::u16string& Text;
        TbsSkinNumericEdit* WordCount;
        TbsSkinNumericEdit* SentenceCount;
        TbsSkinNumericEdit* ParagraphCount;
        TbsSkinEdit* Keyword;
        TbsSkinNumericEdit* DensityPercent;
        TbsSkinNumericEdit* DensityTotal;
    };
    TArticle Article1();
    TArticle Article2();
    void ArticleChange(const TArticle& article);
    void ClearHighlighting(const TArticle& article);
    void CalculateKwDensity(const TArticle& article);
    void RestorePane(TbsSkinRichEdit& pane, const std::u16string& text) noexcept;

    void BuildToolStrip();
    void BuildBanner();
    void BuildFooter();
    void BuildArticles();
    void BuildArticle(TbsSkinGroupBox* box, int number);
    void BuildPopupMenus();
    void WireEvents();
    void CreateSkinComponents();
    void UpdateMinimumSize();
    // Runs a handler; what it throws goes to the application's error handling.
    void Run(void (TfrmMain::*handler)());

    TMainWindowOptions FOptions;
    TArticleComparer FComparer;

public:
    // The window's state, by the names the rest of the program knows.
    QString FAffiliateID;
    QString FBannerURL;
    QString FBannerPath;
    QString FLink1URL, FLink2URL;
    QString FLink1Name, FLink2Name;
    QString FIconPath;
    TListWords& FWords1 = FComparer.FWords1;
    TListSentences& FSentences1 = FComparer.FSentences1;
    TListParagraphs& FParagraphs1 = FComparer.FParagraphs1;
    TListWords& FWords2 = FComparer.FWords2;
    TListSentences& FSentences2 = FComparer.FSentences2;
    TListParagraphs& FParagraphs2 = FComparer.FParagraphs2;
    int& FMinLength = FComparer.FMinLength;
    int& FUnitKind = FComparer.FUnitKind;
    std::u16string& FText1 = FComparer.FText1;
    std::u16string& FText2 = FComparer.FText2;
    int& FColorIndex = FComparer.FColorIndex;
    // True while a comparison rebuilds the panes.
    bool& Comparing = FComparer.Comparing;
};

}  // namespace rasp
