#pragma once

#include "history/historyentry.h"
#include "history/historyexport.h"
#include "history/historylistmodel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <QUrl>

#include <optional>

namespace wordlumen {

class HistoryStore;

/**
 * The control center's history page: the list of what was looked up (its
 * rows are HistoryListModel's), its search and starred filter, the switch
 * 「记录查询历史」 and the limit, clearing, exporting, and opening an entry
 * on the card. Every action says how it went in `statusLine`.
 *
 * Two actions remove entries the user may not have meant to lose and wait
 * for a confirmation inside the window: clearing everything, and a lower
 * limit that would evict entries at once.
 *
 * Nothing here opens the database: the list reads its first page when the
 * page is first shown, so the window's first frame never waits for it.
 */
class HistoryPageModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryPageModel)
    QML_ELEMENT
    QML_UNCREATABLE("The control center makes its pages.")

    Q_PROPERTY(wordlumen::HistoryListModel *entries READ entries CONSTANT)
    /// The sidebar's line under 「历史与收藏」.
    Q_PROPERTY(QString sidebarDetail READ sidebarDetail NOTIFY settingsChanged)
    Q_PROPERTY(QString badgeTitle READ badgeTitle NOTIFY settingsChanged)
    Q_PROPERTY(bool badgeHealthy READ badgeHealthy NOTIFY settingsChanged)
    Q_PROPERTY(bool recordingEnabled READ recordingEnabled WRITE setRecordingEnabled NOTIFY
                   settingsChanged)
    /// What the switch means now: recording, or paused (and what stays).
    Q_PROPERTY(QString recordingNote READ recordingNote NOTIFY settingsChanged)
    /// The limits offered (「1,000 条」…), the stored one among them, and which is chosen.
    Q_PROPERTY(QStringList limitTitles READ limitTitles NOTIFY settingsChanged)
    Q_PROPERTY(int limitIndex READ limitIndex NOTIFY settingsChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(bool starredOnly READ starredOnly WRITE setStarredOnly NOTIFY starredOnlyChanged)
    /// The list shows no row; `emptyText` says why.
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY listChanged)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY listChanged)
    Q_PROPERTY(QString statusLine READ statusLine NOTIFY statusLineChanged)
    /// A question waits for an answer inside the window.
    Q_PROPERTY(bool confirming READ confirming NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmTitle READ confirmTitle NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmMessage READ confirmMessage NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmButton READ confirmButton NOTIFY confirmationChanged)
    Q_PROPERTY(QStringList exportFormatTitles READ exportFormatTitles CONSTANT)
    Q_PROPERTY(int exportFormatIndex READ exportFormatIndex WRITE setExportFormatIndex NOTIFY
                   exportChanged)
    Q_PROPERTY(bool exportStarredOnly READ exportStarredOnly WRITE setExportStarredOnly NOTIFY
                   exportChanged)
    /// What the save dialog offers: a file name and the format's filter.
    Q_PROPERTY(QString exportFileName READ exportFileName NOTIFY exportChanged)
    Q_PROPERTY(QStringList exportNameFilters READ exportNameFilters NOTIFY exportChanged)
    /// The file the save dialog proposes: the name in the user's documents folder.
    Q_PROPERTY(QUrl exportSuggestion READ exportSuggestion NOTIFY exportChanged)
    Q_PROPERTY(QString exportNote READ exportNote NOTIFY exportChanged)
    Q_PROPERTY(QUrl exportFolder READ exportFolder CONSTANT)
    /// What the last export wrote, or why it did not.
    Q_PROPERTY(QString exportStatus READ exportStatus NOTIFY exportStatusChanged)

public:
    /// The limits offered; a stored limit that is none of them is offered beside them.
    static constexpr int kLimitChoices[] = {200, 1000, 5000, 20000};

    /// `store` may be null: the page then says history is unavailable.
    explicit HistoryPageModel(HistoryStore *store, QObject *parent = nullptr);
    ~HistoryPageModel() override;

    [[nodiscard]] HistoryListModel *entries() const { return m_entries; }
    [[nodiscard]] QString sidebarDetail() const;
    [[nodiscard]] QString badgeTitle() const;
    [[nodiscard]] bool badgeHealthy() const;
    [[nodiscard]] bool recordingEnabled() const;
    void setRecordingEnabled(bool enabled);
    [[nodiscard]] QString recordingNote() const;
    [[nodiscard]] QStringList limitTitles() const;
    [[nodiscard]] int limitIndex() const;
    [[nodiscard]] QString searchText() const { return m_entries->searchText(); }
    void setSearchText(const QString &text);
    [[nodiscard]] bool starredOnly() const { return m_entries->starredOnly(); }
    void setStarredOnly(bool starredOnly);
    [[nodiscard]] bool isEmpty() const { return m_entries->rowCount() == 0; }
    [[nodiscard]] QString emptyText() const;
    [[nodiscard]] QString statusLine() const;
    [[nodiscard]] bool confirming() const { return m_confirmation != Confirmation::None; }
    [[nodiscard]] QString confirmTitle() const;
    [[nodiscard]] QString confirmMessage() const { return m_confirmMessage; }
    [[nodiscard]] QString confirmButton() const;
    [[nodiscard]] static QStringList exportFormatTitles();
    [[nodiscard]] int exportFormatIndex() const { return int(m_exportFormat); }
    void setExportFormatIndex(int index);
    [[nodiscard]] bool exportStarredOnly() const { return m_exportStarredOnly; }
    void setExportStarredOnly(bool starredOnly);
    [[nodiscard]] QString exportFileName() const;
    [[nodiscard]] QStringList exportNameFilters() const;
    [[nodiscard]] QUrl exportSuggestion() const;
    [[nodiscard]] QString exportNote() const;
    [[nodiscard]] QString exportStatus() const { return m_exportStatus; }
    [[nodiscard]] static QUrl exportFolder();

    /// Chooses the limit `index` of `limitTitles`; one that evicts entries asks first.
    Q_INVOKABLE void chooseLimit(int index);
    Q_INVOKABLE void toggleStar(int row);
    /// Removes the entry in `row` (the trash button, the Delete key).
    Q_INVOKABLE void remove(int row);
    /// Shows the entry in `row` on the card, as saved, without a request.
    Q_INVOKABLE void open(int row);
    /// 「清空历史…」: asks to confirm removing every entry, starred ones too.
    Q_INVOKABLE void requestClear();
    Q_INVOKABLE void confirm();
    Q_INVOKABLE void cancelConfirmation();
    /// Writes the chosen format to the chosen file (a local file URL; the format's extension is
    /// added when the name has none).
    Q_INVOKABLE void exportTo(const QUrl &file);

    /// `file`'s path with the extension `format` writes when it has none.
    [[nodiscard]] static QString exportPath(const QUrl &file, HistoryExport::Format format);

signals:
    void settingsChanged();
    void searchTextChanged();
    void starredOnlyChanged();
    void listChanged();
    void statusLineChanged();
    void confirmationChanged();
    void exportChanged();
    void exportStatusChanged();
    /// The user asked to see `entry` on the card.
    void openRequested(const wordlumen::HistoryEntry &entry);

private:
    enum class Confirmation
    {
        None,
        Clear,
        Limit,
    };

    [[nodiscard]] QList<int> limitChoices() const;
    void applyLimit(int limit);
    void setStatusMessage(const QString &message);
    void setConfirmation(Confirmation confirmation, const QString &message = {});

    QPointer<HistoryStore> m_store;
    HistoryListModel *m_entries;
    QString m_statusMessage;
    Confirmation m_confirmation = Confirmation::None;
    QString m_confirmMessage;
    int m_pendingLimit = 0;
    HistoryExport::Format m_exportFormat = HistoryExport::Format::Pack;
    bool m_exportStarredOnly = true;
    QString m_exportStatus;
};

} // namespace wordlumen
