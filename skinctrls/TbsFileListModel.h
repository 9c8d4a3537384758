#pragma once
// The items of one folder for the open dialog's file list: every subfolder,
// then the files whose names match the mask, each group sorted by name.
// Names are read straight from the file system (so that names which are not
// valid text are kept); sizes and dates are looked up only when shown, and
// the rows are handed to the views in batches, so that a folder of a hundred
// thousand entries opens at once.

#include <QAbstractTableModel>
#include <QIcon>
#include <QRegularExpression>
#include <QString>
#include <vector>

namespace rasp {

class TbsFileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { colName, colSize, colType, colModified, colCount };
    static constexpr int BatchSize = 1000;

    explicit TbsFileListModel(QObject* parent = nullptr);

    // Reads the folder afresh; false, with ErrorText set, when it cannot be
    // read (the list is then empty).
    bool SetFolder(const QString& folder);
    bool Refresh() { return SetFolder(FFolder); }
    const QString& Folder() const { return FFolder; }
    const QString& ErrorText() const { return FErrorText; }

    // Patterns split at ";" and "|"; only those containing "." count; "*.*"
    // takes every file. Letter case is ignored.
    void SetMask(const QString& mask);
    const QString& Mask() const { return FMask; }
    static bool MatchesMask(const QString& name, const QString& mask);

    void SetHeaderCaptions(const QStringList& captions);
    void SetIcons(const QIcon& folder, const QIcon& file);

    bool IsFolder(int row) const;
    QString NameAt(int row) const;
    QString PathAt(int row) const;
    int TotalCount() const { return static_cast<int>(FEntries.size()); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct TEntry {
        QString Name;
        bool Folder = false;
        mutable bool Stated = false;
        mutable qint64 Size = 0;
        mutable qint64 Modified = 0;  // seconds since the epoch
    };
    void Fill();
    void Stat(const TEntry& e) const;

    QString FFolder;
    QString FMask = QStringLiteral("*.*|*.*");
    QString FErrorText;
    std::vector<QString> FAllNames;   // every name of the folder
    std::vector<bool> FAllFolders;
    std::vector<TEntry> FEntries;     // the shown ones, sorted
    int FShown = 0;                   // rows handed to the views so far
    QStringList FCaptions;
    QIcon FFolderIcon, FFileIcon;
};

}  // namespace rasp
