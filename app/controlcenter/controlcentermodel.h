#pragma once

#include "apipagemodel.h"
#include "floatingpagemodel.h"
#include "historypagemodel.h"
#include "vocabularypagemodel.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace wordlumen {

class CustomGlossaryStore;
class FloatingCardWindowController;
class HistoryStore;
class SecretStore;

/**
 * What the control center window shows: the section chosen in the sidebar and
 * one model per page. Made once with the window; the pages keep their state
 * (fields, messages) while the window is hidden.
 */
class ControlCenterModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ControlCenterModel)
    QML_ELEMENT
    QML_UNCREATABLE("The application makes the control center.")

    Q_PROPERTY(Section selection READ selection WRITE setSelection NOTIFY selectionChanged)
    Q_PROPERTY(wordlumen::FloatingPageModel *floating READ floating CONSTANT)
    Q_PROPERTY(wordlumen::VocabularyPageModel *vocabulary READ vocabulary CONSTANT)
    Q_PROPERTY(wordlumen::ApiPageModel *api READ api CONSTANT)
    Q_PROPERTY(wordlumen::HistoryPageModel *history READ history CONSTANT)

public:
    /// The sidebar's sections, in its order.
    enum class Section
    {
        Floating,
        Scripts,
        Api,
        History,
    };
    Q_ENUM(Section)

    /// `history` is the lookup history the page shows; null when there is none.
    ControlCenterModel(FloatingCardWindowController *card, CustomGlossaryStore &library,
                       std::optional<qsizetype> builtInCount, SecretStore *secrets = nullptr,
                       HistoryStore *history = nullptr, QObject *parent = nullptr);
    ~ControlCenterModel() override;

    [[nodiscard]] Section selection() const { return m_selection; }
    void setSelection(Section section);

    [[nodiscard]] FloatingPageModel *floating() const { return m_floating; }
    [[nodiscard]] VocabularyPageModel *vocabulary() const { return m_vocabulary; }
    [[nodiscard]] ApiPageModel *api() const { return m_api; }
    [[nodiscard]] HistoryPageModel *history() const { return m_history; }

signals:
    void selectionChanged();

private:
    Section m_selection = Section::Floating;
    FloatingPageModel *m_floating;
    VocabularyPageModel *m_vocabulary;
    ApiPageModel *m_api;
    HistoryPageModel *m_history;
};

} // namespace wordlumen
