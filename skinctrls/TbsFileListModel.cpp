#include "skinctrls/TbsFileListModel.h"

#include "skinctrls/bsFileNames.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace rasp {

namespace {

struct TDirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

QString JoinPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

}  // namespace

TbsFileListModel::TbsFileListModel(QObject* parent) : QAbstractTableModel(parent)
{
    FCaptions = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type"),
                 QStringLiteral("Modified")};
}

bool TbsFileListModel::SetFolder(const QString& folder)
{
    FFolder = folder;
    FErrorText.clear();
    FAllNames.clear();
    FAllFolders.clear();
    const QByteArray native = bsEncodeFileName(folder);
    std::unique_ptr<DIR, TDirCloser> dir(opendir(native.constData()));
    if (!dir) {
        FErrorText = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        while (dirent* e = readdir(dir.get())) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
                continue;
            bool isFolder = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
                // Links count as what they point at.
                struct stat st {};
                const QByteArray path = native + '/' + e->d_name;
                isFolder = ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            FAllNames.push_back(bsDecodeFileName(QByteArray(e->d_name)));
            FAllFolders.push_back(isFolder);
        }
    }
    Fill();
    return FErrorText.isEmpty();
}

void TbsFileListModel::SetMask(const QString& mask)
{
    FMask = mask.isEmpty() ? QStringLiteral("*.*") : mask;
    Fill();
}

bool TbsFileListModel::MatchesMask(const QString& name, const QString& mask)
{
    const QStringList patterns = mask.split(QRegularExpression(QStringLiteral("[;|]")), Qt::SkipEmptyParts);
    for (QString p : patterns) {
        p = p.trimmed();
        if (!p.contains(QLatin1Char('.')))
            continue;
        if (p == QLatin1String("*.*"))
            return true;
        const QRegularExpression re(
            QRegularExpression::wildcardToRegularExpression(p, QRegularExpression::DefaultWildcardConversion),
            QRegularExpression::CaseInsensitiveOption);
        if (re.match(name).hasMatch())
            return true;
    }
    return false;
}

void TbsFileListModel::Fill()
{
    beginResetModel();
    FEntries.clear();
    // One compiled expression per pattern, not per name.
    std::vector<QRegularExpression> patterns;
    bool all = false;
    for (QString p : FMask.split(QRegularExpression(QStringLiteral("[;|]")), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (!p.contains(QLatin1Char('.')))
            continue;
        if (p == QLatin1String("*.*"))
            all = true;
        patterns.emplace_back(
            QRegularExpression::wildcardToRegularExpression(p, QRegularExpression::DefaultWildcardConversion),
            QRegularExpression::CaseInsensitiveOption);
    }
    for (size_t i = 0; i < FAllNames.size(); ++i) {
        bool shown = FAllFolders[i] || all;
        for (size_t k = 0; !shown && k < patterns.size(); ++k)
            shown = patterns[k].match(FAllNames[i]).hasMatch();
        if (shown)
            FEntries.push_back(TEntry{FAllNames[i], FAllFolders[i]});
    }
    std::sort(FEntries.begin(), FEntries.end(), [](const TEntry& a, const TEntry& b) {
        if (a.Folder != b.Folder)
            return a.Folder;
        const int c = a.Name.compare(b.Name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });
    FShown = std::min<int>(BatchSize, static_cast<int>(FEntries.size()));
    endResetModel();
}

void TbsFileListModel::Stat(const TEntry& e) const
{
    if (e.Stated)
        return;
    e.Stated = true;
    struct stat st {};
    if (::stat(bsEncodeFileName(JoinPath(FFolder, e.Name)).constData(), &st) == 0) {
        e.Size = st.st_size;
        e.Modified = st.st_mtime;
    }
}

void TbsFileListModel::SetHeaderCaptions(const QStringList& captions)
{
    if (captions.size() == colCount)
        FCaptions = captions;
    emit headerDataChanged(Qt::Horizontal, 0, colCount - 1);
}

void TbsFileListModel::SetIcons(const QIcon& folder, const QIcon& file)
{
    FFolderIcon = folder;
    FFileIcon = file;
}

bool TbsFileListModel::IsFolder(int row) const
{
    return row >= 0 && row < TotalCount() && FEntries[row].Folder;
}

QString TbsFileListModel::NameAt(int row) const
{
    return row >= 0 && row < TotalCount() ? FEntries[row].Name : QString();
}

QString TbsFileListModel::PathAt(int row) const
{
    return row >= 0 && row < TotalCount() ? JoinPath(FFolder, FEntries[row].Name) : QString();
}

int TbsFileListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : FShown; }

int TbsFileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : colCount; }

QVariant TbsFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= FShown)
        return {};
    const TEntry& e = FEntries[index.row()];
    if (role == Qt::DecorationRole && index.column() == colName)
        return e.Folder ? FFolderIcon : FFileIcon;
    if (role == Qt::TextAlignmentRole)
        return index.column() == colSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role == Qt::UserRole)
        return e.Name;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case colName: return bsDisplayFileName(e.Name);
    case colSize:
        if (e.Folder)
            return QString();
        Stat(e);
        return QString::number(e.Size);
    case colType: {
        if (e.Folder)
            return QString();
        const qsizetype dot = e.Name.lastIndexOf(QLatin1Char('.'));
        return dot > 0 ? bsDisplayFileName(e.Name.mid(dot + 1)) : QString();
    }
    case colModified: {
        Stat(e);
        const QDateTime t = QDateTime::fromSecsSinceEpoch(e.Modified);
        const QLocale locale;
        return locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
               locale.toString(t.time(), QLocale::ShortFormat);
    }
    default: return {};
    }
}

QVariant TbsFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= colCount)
        return {};
    if (role == Qt::DisplayRole)
        return FCaptions[section];
    if (role == Qt::TextAlignmentRole)
        return section == colSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                  : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

bool TbsFileListModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && FShown < TotalCount();
}

void TbsFileListModel::fetchMore(const QModelIndex& parent)
{
    if (!canFetchMore(parent))
        return;
    const int next = std::min(TotalCount(), FShown + BatchSize);
    beginInsertRows({}, FShown, next - 1);
    FShown = next;
    endInsertRows();
}

}  // namespace rasp
