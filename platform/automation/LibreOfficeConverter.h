#pragma once
// One run of headless LibreOffice that turns a document into UTF-8 text.
// While it runs, the calling thread keeps handling its events (when it is the
// application's thread), so a window stays responsive during a conversion.

#include <QString>

#include <functional>

namespace rasp {

struct TConversionRequest {
    QString soffice;      // the program to run
    QString profileDir;   // a private user profile, so no running instance takes the job
    QString outDir;       // an empty folder for the result
    QString document;     // absolute path of the document
    QString inputFilter;  // the office's import filter, when its name would mislead it
    int timeoutMs = 120000;
};

// Path of the text file written into `outDir`; throws EOleError with a
// message for the user when the run fails, times out or is interrupted.
// The process and everything it started are killed on every failure.
QString ConvertDocumentToText(const TConversionRequest& request);

// The text of a converted file as the word processor's range gives it:
// byte order mark dropped, every paragraph ending in CR.
std::u16string ReadConvertedText(const QString& textFile);

}  // namespace rasp
