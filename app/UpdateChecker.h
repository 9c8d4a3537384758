#pragma once
// The update check: fetch the update description from the update folder,
// compare its version with ours, and after the user agreed twice hand over to
// the updater beside the executable and close the window.
//
// The check waits for the server in a local event loop, so the window stays
// usable meanwhile. Closing the window abandons a check in progress: the
// request is aborted, its partial file deleted and nothing more is shown.
// Destroying the window (and with it the checker) mid-check is safe too.

#include "net/HttpClient.h"
#include "skinctrls/TbsSkinMessage.h"

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace rasp {

class TUpdateChecker : public QObject {
    Q_OBJECT
public:
    // Shows a message box and returns its modal result, as msgMain's MessageDlg.
    using TMessageDlg = std::function<int(const QString& msg, TMsgDlgType type,
                                          TMsgDlgButtons buttons, int helpCtx)>;

    static constexpr const char* UpdateFileName = "mainappupdate.inf";
    static constexpr const char* UpdaterFileName = "Updater";

    // owner: the window; the checker lives as its child and watches it close.
    // baseUrl: the update folder, ending with "/". programDir: where the
    // update description is stored and the updater lies. closeWindow: asks
    // the window to close after the hand-over.
    TUpdateChecker(QWidget* owner, QString baseUrl, QString programDir, TMessageDlg messageDlg,
                   std::function<void()> closeWindow);

    // Silent: the absence of an update is not announced. A check asked for
    // while one is running does not start another; an interactive request
    // makes the running one announce its outcome.
    void CheckForUpdates(bool Silent);

    // Writes the body of URL to LocalFile; true when all of it arrived. On
    // failure no file is left behind and LastFailure says why.
    bool DownloadFile(const QString& URL, const QString& LocalFile);
    // Why the last download failed, as the end of a sentence ("the server
    // answered with status 404.").
    const QString& LastFailure() const { return FFailure; }
    // An error message as the end of such a sentence.
    static QString Reason(const QString& message);

    bool Checking() const { return FChecking; }

    // Where the update description is stored; empty (the default): the
    // program directory. An installed copy keeps it in the user's cache.
    void SetDownloadDir(QString dir) { FDownloadDir = std::move(dir); }
    QString DownloadDir() const { return FDownloadDir.isEmpty() ? FProgramDir : FDownloadDir; }

    // The HTTP client's time-outs and redirect filter (tests and fuzzing).
    THttpClient& Http() { return FHttp; }

    // The updater's command-line arguments.
    QStringList UpdaterArguments() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void NoUpdate();
    // A check that could not tell: said only when the outcome is announced.
    void Failed(const QString& reason);
    bool StartUpdater();

    THttpClient FHttp;
    QString FBaseUrl;
    QString FProgramDir;
    QString FDownloadDir;
    TMessageDlg FMessageDlg;
    std::function<void()> FCloseWindow;
    bool FChecking = false;
    bool FAnnounce = false;
    bool FAbandoned = false;
    QString FFailure;
};

} // namespace rasp
