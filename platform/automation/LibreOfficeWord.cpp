#include "platform/automation/LibreOfficeWord.h"

#include "platform/automation/LibreOfficeConverter.h"
#include "platform/automation/WordDocumentReader.h"
#include "platform/textload/FileContent.h"
#include "platform/textload/TextFileLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace rasp {

namespace {

// What the objects of one application instance share.
struct TOfficeSession {
    QString soffice;
    int timeoutMs = 0;
    std::optional<QTemporaryDir> workDir;  // profile and conversions; gone after Quit
    std::vector<std::u16string> documents;
    bool visible = false;

    void RequireRunning() const {
        if (!workDir) throw EOleError("The word processor has already quit");
    }
};

using TSession = std::shared_ptr<TOfficeSession>;

// The office picks its import filter by the file's extension: a document
// under another name ("notes.txt" holding a .docx) would be read as text.
// Then the content names the filter.
QString InputFilterFor(const QString& fileName) {
    std::string bytes;
    try {
        bytes = ReadFileBytes(QFile::encodeName(fileName).toStdString());
    } catch (const ELoadStreamError&) {
        return {};  // the office reports what it cannot read
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    auto named = [&suffix](std::initializer_list<const char*> suffixes) {
        for (const char* s : suffixes)
            if (suffix == QLatin1String(s)) return true;
        return false;
    };
    switch (WordDocumentFormat(bytes)) {
        case TWordFormat::CompoundFile:
            return named({"doc", "dot", "wps", "wpt"}) ? QString() : QStringLiteral("MS Word 97");
        case TWordFormat::OfficeOpenXml:
            return named({"docx", "docm", "dotx", "dotm"}) ? QString() : QStringLiteral("MS Word 2007 XML");
        case TWordFormat::OpenDocumentText:
            return named({"odt", "ott", "odm", "oth"}) ? QString() : QStringLiteral("writer8");
        case TWordFormat::None: break;
    }
    return {};
}

[[noreturn]] void UnknownMember(const char* object, std::string_view member) {
    throw EOleError(std::string("Unknown name: the ") + object + " object has no member \"" +
                    std::string(member) + "\"");
}

void RequireKind(unsigned kind, unsigned allowed, std::string_view member) {
    if ((kind & allowed) == 0) throw EOleError("Member \"" + std::string(member) + "\" cannot be used that way");
}

std::u16string StringArgument(const std::vector<TOleVariant>& args, std::string_view member) {
    if (args.empty()) throw EOleError("\"" + std::string(member) + "\" needs an argument");
    if (const auto* s = std::get_if<std::u16string>(&args[0])) return *s;
    throw EOleError("\"" + std::string(member) + "\" needs a text argument");
}

class TRange : public IAutomationObject {
public:
    explicit TRange(std::u16string text) : FText(std::move(text)) {}
    TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>&) override {
        if (SameMemberName(member, "Text")) {
            RequireKind(kind, ikMethod | ikPropertyGet, member);
            return FText;
        }
        UnknownMember("Range", member);
    }

private:
    std::u16string FText;
};

class TDocument : public IAutomationObject {
public:
    TDocument(TSession session, std::size_t index) : FSession(std::move(session)), FIndex(index) {}
    TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>&) override {
        FSession->RequireRunning();
        if (SameMemberName(member, "Range") || SameMemberName(member, "Content")) {
            RequireKind(kind, ikMethod | ikPropertyGet, member);
            return TDispatch(std::make_shared<TRange>(FSession->documents.at(FIndex)));
        }
        UnknownMember("Document", member);
    }

private:
    TSession FSession;
    std::size_t FIndex;
};

class TDocuments : public IAutomationObject {
public:
    explicit TDocuments(TSession session) : FSession(std::move(session)) {}
    TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>& args) override {
        FSession->RequireRunning();
        if (SameMemberName(member, "Open")) {
            RequireKind(kind, ikMethod, member);
            Open(QString::fromStdU16String(StringArgument(args, member)));
            return {};
        }
        if (SameMemberName(member, "Count")) {
            RequireKind(kind, ikMethod | ikPropertyGet, member);
            return static_cast<std::int32_t>(FSession->documents.size());
        }
        if (SameMemberName(member, "Item")) {
            RequireKind(kind, ikMethod | ikPropertyGet, member);
            const auto* index = args.empty() ? nullptr : std::get_if<std::int32_t>(&args[0]);
            if (!index || *index < 1 || static_cast<std::size_t>(*index) > FSession->documents.size()) {
                throw EOleError("The requested member of the collection does not exist");
            }
            return TDispatch(std::make_shared<TDocument>(FSession, static_cast<std::size_t>(*index - 1)));
        }
        UnknownMember("Documents", member);
    }

private:
    void Open(const QString& fileName) {
        const QFileInfo info(fileName);
        const std::string quoted = "\"" + fileName.toStdString() + "\"";
        if (!info.exists()) throw EOleError("The document " + quoted + " does not exist");
        if (!info.isFile()) throw EOleError("The document " + quoted + " is not a file");
        if (!info.isReadable()) throw EOleError("The document " + quoted + " cannot be read (permission denied)");

        const QDir work(FSession->workDir->path());
        const QString outName = QString("document%1").arg(FSession->documents.size() + 1);
        if (!work.mkpath(outName)) throw EOleError("The word processor cannot create its temporary folder");
        const QString outDir = work.filePath(outName);

        TConversionRequest request;
        request.soffice = FSession->soffice;
        request.profileDir = work.filePath("profile");
        request.outDir = outDir;
        request.document = info.absoluteFilePath();
        request.inputFilter = InputFilterFor(fileName);
        request.timeoutMs = FSession->timeoutMs;
        try {
            std::u16string text = ReadConvertedText(ConvertDocumentToText(request));
            QDir(outDir).removeRecursively();
            FSession->documents.push_back(std::move(text));
        } catch (...) {
            QDir(outDir).removeRecursively();
            throw;
        }
    }

    TSession FSession;
};

class TApplication : public IAutomationObject {
public:
    explicit TApplication(TSession session) : FSession(std::move(session)) {}
    TOleVariant Invoke(std::string_view member, unsigned kind, const std::vector<TOleVariant>& args) override {
        if (SameMemberName(member, "Quit")) {
            RequireKind(kind, ikMethod, member);
            // Nothing is ever written back, so "save changes" has nothing to save.
            FSession->workDir.reset();
            FSession->documents.clear();
            return {};
        }
        FSession->RequireRunning();
        if (SameMemberName(member, "Documents")) {
            RequireKind(kind, ikMethod | ikPropertyGet, member);
            return TDispatch(std::make_shared<TDocuments>(FSession));
        }
        if (SameMemberName(member, "Visible")) {
            if (kind & ikPropertyPut) {
                const auto* on = args.empty() ? nullptr : std::get_if<bool>(&args[0]);
                if (!on) throw EOleError("\"Visible\" needs a boolean");
                FSession->visible = *on;  // headless either way
                return {};
            }
            return FSession->visible;
        }
        if (SameMemberName(member, "Name")) return std::u16string(u"LibreOffice");
        UnknownMember("Application", member);
    }

private:
    TSession FSession;
};

}  // namespace

void RegisterLibreOfficeWord(TAutomationRegistry& registry, TLibreOfficeOptions options) {
    registry.Register(kWordProgId, [options]() -> TDispatch {
        const QString soffice =
            options.soffice.isEmpty() ? QStandardPaths::findExecutable("soffice") : options.soffice;
        if (soffice.isEmpty() || !QFileInfo(soffice).isExecutable()) {
            throw EOleSysError(
                "No word processor is installed to answer to \"Word.Application\" "
                "(LibreOffice's soffice was not found)");
        }
        auto session = std::make_shared<TOfficeSession>();
        session->soffice = soffice;
        session->timeoutMs = options.timeoutMs;
        session->workDir.emplace(QDir(QDir::tempPath()).filePath("rasp-word-XXXXXX"));
        if (!session->workDir->isValid()) {
            throw EOleSysError("The word processor cannot create its temporary folder: " +
                               session->workDir->errorString().toStdString());
        }
        return std::make_shared<TApplication>(session);
    });
}

}  // namespace rasp
