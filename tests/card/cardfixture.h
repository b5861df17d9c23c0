#pragma once

#include "card/panel/floatingcardwindowcontroller.h"
#include "cardmodel/cardviewmodel.h"
#include "online/explanationpromptprofile.h"

#include <QQmlEngine>
#include <QString>
#include <QUrl>

#include <memory>

namespace wordlumen {
class HistoryRecorder;
class HistoryStore;
class HistoryWriter;
} // namespace wordlumen

/**
 * The real card on a real panel for tests and screenshots: the shipped
 * dictionary, a key and endpoint the test controls, and the panel content of
 * the application (the card with its settings face).
 */
class CardFixture
{
public:
    CardFixture();
    ~CardFixture();

    /// The key the view model sees; empty means no key is stored.
    QString apiKey;
    QUrl endpoint = QUrl(QStringLiteral("http://127.0.0.1:9/chat/completions"));
    /// The explanation style the view model sees.
    wordlumen::ExplanationPromptProfile profile;

    wordlumen::CardViewModel *viewModel() const { return m_viewModel.get(); }
    wordlumen::FloatingCardWindowController *controller() const { return m_controller.get(); }
    QQuickWindow *panel() const { return m_controller->panel(); }
    QQuickItem *root() const;

    /// Records the card's answers into a history at `filePath`, as the application does.
    wordlumen::HistoryStore *useHistory(const QString &filePath);

    /// Creates the panel and shows it; waits until it is exposed.
    bool show();
    /// Spins the event loop until the panel's frame animation and the card's
    /// own transitions have settled.
    void settle(int milliseconds = 450) const;

private:
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<wordlumen::HistoryStore> m_history;
    std::unique_ptr<wordlumen::HistoryWriter> m_historyWriter;
    std::unique_ptr<wordlumen::HistoryRecorder> m_historyRecorder;
    std::unique_ptr<wordlumen::CardViewModel> m_viewModel;
    std::unique_ptr<wordlumen::FloatingCardWindowController> m_controller;
};
