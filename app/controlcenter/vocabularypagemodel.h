#pragma once

#include "bundledpacklistmodel.h"
#include "packlistmodel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <QUrl>

#include <functional>
#include <optional>

namespace wordlumen {

class CustomGlossaryStore;

/**
 * The control center's vocabulary page: the built-in dictionary's size, the
 * packs that ship with the program (added with one click), the supplement
 * packs (import, switch, delete) and the pack-making prompt, with the one
 * result line of the page.
 *
 * Every action shows its outcome in `statusLine`; a library file that failed
 * to load is shown there while no action has spoken since.
 */
class VocabularyPageModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(VocabularyPageModel)
    QML_ELEMENT
    QML_UNCREATABLE("The control center makes its pages.")

    /// The built-in dictionary's entries, 0 when it did not load.
    Q_PROPERTY(int builtInCount READ builtInCount CONSTANT)
    /// The sidebar's line under "本地词库".
    Q_PROPERTY(QString sidebarDetail READ sidebarDetail NOTIFY packsChanged)
    Q_PROPERTY(QString badgeTitle READ badgeTitle NOTIFY packsChanged)
    Q_PROPERTY(bool badgeHealthy READ badgeHealthy CONSTANT)
    Q_PROPERTY(wordlumen::PackListModel *packs READ packs CONSTANT)
    Q_PROPERTY(bool hasPacks READ hasPacks NOTIFY packsChanged)
    /// The packs that ship with the program; empty where none were found.
    Q_PROPERTY(wordlumen::BundledPackListModel *bundledPacks READ bundledPacks CONSTANT)
    Q_PROPERTY(QString statusLine READ statusLine NOTIFY statusLineChanged)
    Q_PROPERTY(QString copyPromptTitle READ copyPromptTitle NOTIFY didCopyPackagePromptChanged)
    Q_PROPERTY(
        bool didCopyPackagePrompt READ didCopyPackagePrompt NOTIFY didCopyPackagePromptChanged)
    /// A pack waits for the delete confirmation.
    Q_PROPERTY(bool confirmingDelete READ confirmingDelete NOTIFY pendingDeleteChanged)
    Q_PROPERTY(QString deleteMessage READ deleteMessage NOTIFY pendingDeleteChanged)
    /// Where the file picker opens: the user's home folder.
    Q_PROPERTY(QUrl pickerStartFolder READ pickerStartFolder CONSTANT)

public:
    /// How long "提示词已复制" stays after a copy.
    static constexpr int kCopyFeedbackMilliseconds = 1200;

    /// `builtInCount` is the dictionary's size, or nothing when it did not load.
    VocabularyPageModel(CustomGlossaryStore &library, std::optional<qsizetype> builtInCount,
                        QObject *parent = nullptr);
    ~VocabularyPageModel() override;

    [[nodiscard]] int builtInCount() const { return int(m_builtInCount.value_or(0)); }
    [[nodiscard]] QString sidebarDetail() const;
    [[nodiscard]] QString badgeTitle() const;
    [[nodiscard]] bool badgeHealthy() const;
    [[nodiscard]] PackListModel *packs() const { return m_packs; }
    [[nodiscard]] bool hasPacks() const { return m_packs->count() > 0; }
    /// The shipped packs; read on first use, so the page's first visit pays for it, not start-up.
    [[nodiscard]] BundledPackListModel *bundledPacks() const;
    /// Offers these shipped packs.
    void setBundledPacks(QList<BundledPack> packs);
    /// Offers the packs `loader` reads (the application passes BundledPacks::load), when
    /// they are first needed.
    void setBundledPackLoader(std::function<QList<BundledPack>()> loader);
    [[nodiscard]] QString statusLine() const;
    [[nodiscard]] QString copyPromptTitle() const;
    [[nodiscard]] bool didCopyPackagePrompt() const { return m_didCopyPackagePrompt; }
    [[nodiscard]] bool confirmingDelete() const { return m_pendingDelete.has_value(); }
    [[nodiscard]] QString deleteMessage() const;
    [[nodiscard]] static QUrl pickerStartFolder();

    /// Imports a chosen or dropped file (a local file URL).
    Q_INVOKABLE void importFile(const QUrl &file);
    /**
     * Adds the shipped pack in `row` of `bundledPacks` through the library's
     * ordinary import: a pack already added is replaced, keeping its id and
     * its switch, and the status line says what the import did.
     */
    Q_INVOKABLE void addBundledPack(int row);
    /// Switches the pack in `row` of `packs` on or off.
    Q_INVOKABLE void setPackEnabled(int row, bool enabled);
    /// The trash button: asks to confirm deleting the pack in `row`.
    Q_INVOKABLE void requestDelete(int row);
    Q_INVOKABLE void confirmDelete();
    Q_INVOKABLE void cancelDelete();
    /// Puts the pack-making prompt on the clipboard as plain text.
    Q_INVOKABLE void copyPackagePrompt();
    /// Whether a dropped URL is a file the import would look at (a local file).
    Q_INVOKABLE [[nodiscard]] static bool acceptsDrop(const QUrl &url);

    /// The pack-making prompt, exactly as it is copied.
    [[nodiscard]] static QString packagePrompt();

signals:
    void packsChanged();
    void statusLineChanged();
    void didCopyPackagePromptChanged();
    void pendingDeleteChanged();

private:
    void setStatusMessage(std::optional<QString> message);
    void setDidCopyPackagePrompt(bool copied);

    QPointer<CustomGlossaryStore> m_library;
    std::optional<qsizetype> m_builtInCount;
    PackListModel *m_packs;
    BundledPackListModel *m_bundledPacks;
    mutable std::function<QList<BundledPack>()> m_bundledPackLoader;
    std::optional<QString> m_statusMessage;
    std::optional<GlossaryPack> m_pendingDelete;
    bool m_didCopyPackagePrompt = false;
};

} // namespace wordlumen
