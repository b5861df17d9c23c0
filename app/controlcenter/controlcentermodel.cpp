#include "controlcentermodel.h"

namespace wordlumen {

ControlCenterModel::ControlCenterModel(FloatingCardWindowController *card,
                                       CustomGlossaryStore &library,
                                       std::optional<qsizetype> builtInCount, SecretStore *secrets,
                                       HistoryStore *history, QObject *parent)
    : QObject(parent)
    , m_floating(new FloatingPageModel(card, this))
    , m_vocabulary(new VocabularyPageModel(library, builtInCount, this))
    , m_api(new ApiPageModel(secrets, this))
    , m_history(new HistoryPageModel(history, this))
{}

ControlCenterModel::~ControlCenterModel() = default;

void ControlCenterModel::setSelection(Section section)
{
    if (m_selection == section) {
        return;
    }
    m_selection = section;
    emit selectionChanged();
}

} // namespace wordlumen
