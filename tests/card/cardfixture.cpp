#include "cardfixture.h"

#include "app/shell/applicationshell.h"
#include "app/staticqmlmodules.h"
#include "cardmodel/historyrecorder.h"
#include "core/glossarystore.h"
#include "desktop/desktopservices.h"
#include "history/historystore.h"
#include "history/historywriter.h"
#include "online/explanationpromptprofile.h"

#include <QQuickItem>
#include <QQuickView>
#include <QTest>

using namespace wordlumen;

CardFixture::CardFixture()
    : m_engine(std::make_unique<QQmlEngine>())
{
    m_engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
    auto glossary =
        GlossaryStore::loadFromDirectory(QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources"));
    std::optional<GlossaryStore> dictionary;
    if (glossary) {
        dictionary = std::move(glossary).value();
    }
    m_viewModel = std::make_unique<CardViewModel>(
        std::move(dictionary), nullptr, [this] { return profile; }, [this] { return apiKey; },
        [this] {
            return OnlineSettings{endpoint.toString(), QStringLiteral("test-model")};
        });
    m_controller = std::make_unique<FloatingCardWindowController>(DesktopServices::panelHints());
    QVariantMap properties = ApplicationShell::cardProperties();
    properties.insert(QStringLiteral("viewModel"), QVariant::fromValue(m_viewModel.get()));
    m_controller->setContent(m_engine.get(), ApplicationShell::cardSource(), properties);
}

CardFixture::~CardFixture()
{
    // The panel's QML refers to the view model: the panel goes first.
    m_controller.reset();
    m_viewModel.reset();
}

HistoryStore *CardFixture::useHistory(const QString &filePath)
{
    m_history = std::make_unique<HistoryStore>(filePath);
    m_historyWriter = std::make_unique<HistoryWriter>(m_history.get());
    m_historyRecorder =
        std::make_unique<HistoryRecorder>(m_history.get(), m_historyWriter.get(), nullptr);
    m_viewModel->setHistory(m_historyRecorder.get());
    return m_history.get();
}

QQuickItem *CardFixture::root() const
{
    auto *view = qobject_cast<QQuickView *>(panel());
    return view ? view->rootObject() : nullptr;
}

bool CardFixture::show()
{
    m_controller->showPanel();
    return QTest::qWaitForWindowExposed(panel());
}

void CardFixture::settle(int milliseconds) const
{
    QTest::qWait(milliseconds);
    QTRY_VERIFY_WITH_TIMEOUT(!m_controller->isAnimating(), 2000);
}
