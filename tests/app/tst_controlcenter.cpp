// The control center's rules, headless: what the sidebar, badges and status
// lines say as the library and the settings change, the prompt it copies, the
// style it stores, and the window it lives in.
#include "app/controlcenter/controlcentermodel.h"
#include "app/controlcenter/controlcenterwindow.h"
#include "app/integration/startatlogin.h"
#include "app/staticqmlmodules.h"
#include "card/panel/floatingcardwindowcontroller.h"
#include "desktop/desktopservices.h"
#include "desktop/generic/unavailableloginitem.h"
#include "history/historysettings.h"
#include "history/historystore.h"
#include "online/apisettings.h"
#include "online/apisettingsnotifier.h"
#include "packs/bundledpacks.h"
#include "packs/customglossarystore.h"
#include "packs/glossarypackageparser.h"
#include "tests/app/fakeloginitem.h"
#include "tests/support/fakesecretstore.h"
#include "tests/support/packfiles.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

// A pack of `count` entries for `industry`, as a file the import reads.
QString writePack(const QTemporaryDir &dir, const QString &fileName, const QString &industry,
                  int count, const QString &depth = QString())
{
    return writeTextFile(dir, fileName, numberedPackText(industry, count, depth));
}

QUrl fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

QList<BundledPack> shippedPacks()
{
    return BundledPacks::load(QStringLiteral(WORDLUMEN_SOURCE_DIR "/resources/packs"));
}

HistoryRecord lookup(const QString &term, const QString &answer)
{
    return HistoryRecord{term, term, answer, ExplanationOrigin::Local, AnswerSource::dictionary(),
                         {}};
}

QStringList terms(const HistoryListModel &list)
{
    QStringList terms;
    for (int row = 0; row < list.rowCount(); ++row)
        terms << list.data(list.index(row), HistoryListModel::TermRole).toString();
    return terms;
}

} // namespace

class ControlCenterTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CustomGlossaryStore> m_library;
    std::unique_ptr<FloatingCardWindowController> m_card;
    std::unique_ptr<FakeSecretStore> m_secretStore;
    std::unique_ptr<HistoryStore> m_history;

    std::unique_ptr<ControlCenterModel> makeModel(std::optional<qsizetype> builtIn = 200)
    {
        return std::make_unique<ControlCenterModel>(m_card.get(), *m_library, builtIn,
                                                    m_secretStore.get(), m_history.get());
    }

    // Records term, answer, term, answer…: the last pair is the newest entry.
    void recordTerms(const QStringList &termsAndAnswers)
    {
        for (qsizetype i = 0; i + 1 < termsAndAnswers.size(); i += 2)
            QVERIFY(m_history->record(lookup(termsAndAnswers.at(i), termsAndAnswers.at(i + 1))));
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Zintaro"));
        QCoreApplication::setApplicationName(QStringLiteral("WordlumenControlCenterTest"));
    }

    void init()
    {
        QSettings().clear();
        m_dir = std::make_unique<QTemporaryDir>();
        m_library =
            std::make_unique<CustomGlossaryStore>(m_dir->filePath(QStringLiteral("lib.json")));
        m_card = std::make_unique<FloatingCardWindowController>(DesktopServices::panelHints());
        m_secretStore = std::make_unique<FakeSecretStore>();
        m_history = std::make_unique<HistoryStore>(m_dir->filePath(QStringLiteral("h.sqlite3")),
                                                   HistoryStore::optionsFromSettings());
    }

    void cleanup()
    {
        m_history.reset();
        m_card.reset();
        m_library.reset();
        QSettings().clear();
    }

    void sidebarAndBadgeFollowTheLibrary()
    {
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        QCOMPARE(page->sidebarDetail(), QStringLiteral("200 条内置词典"));
        QCOMPARE(page->badgeTitle(), QStringLiteral("200 条可用"));
        QVERIFY(page->badgeHealthy());
        QVERIFY(!page->hasPacks());

        QSignalSpy packsChanged(page, &VocabularyPageModel::packsChanged);
        page->importFile(fileUrl(
            writePack(*m_dir, QStringLiteral("法律.md"), QStringLiteral("法律补充包"), 35)));
        QCOMPARE(page->statusLine(), QStringLiteral("已导入 法律补充包 · 35 条"));
        QVERIFY(!packsChanged.isEmpty());
        QCOMPARE(page->sidebarDetail(), QStringLiteral("200 内置 + 1 个补充包"));
        QCOMPARE(page->badgeTitle(), QStringLiteral("235 条可用"));

        // Only enabled entries count; the pack keeps its place in the list.
        page->setPackEnabled(0, false);
        QCOMPARE(page->badgeTitle(), QStringLiteral("200 条可用"));
        QCOMPARE(page->sidebarDetail(), QStringLiteral("200 内置 + 1 个补充包"));
        QCOMPARE(page->statusLine(), QStringLiteral("已停用 法律补充包"));
        page->setPackEnabled(0, true);
        QCOMPARE(page->statusLine(), QStringLiteral("已启用 法律补充包"));
        QCOMPARE(page->badgeTitle(), QStringLiteral("235 条可用"));
    }

    void withoutTheDictionaryTheBadgeSaysSo()
    {
        auto model = makeModel(std::nullopt);
        QCOMPARE(model->vocabulary()->badgeTitle(), QStringLiteral("词库异常"));
        QVERIFY(!model->vocabulary()->badgeHealthy());
        QVERIFY(!model->vocabulary()->sidebarDetail().contains(QStringLiteral("200")));

        // A dictionary of another size is no intact dictionary either.
        auto partial = makeModel(199);
        QCOMPARE(partial->vocabulary()->badgeTitle(), QStringLiteral("词库异常"));
        QCOMPARE(partial->vocabulary()->sidebarDetail(), QStringLiteral("199 条内置词典"));
    }

    void packRowsNameAndDescribeEachPack()
    {
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        page->importFile(fileUrl(writePack(*m_dir, QStringLiteral("a.md"), QStringLiteral("金融"),
                                           3, QStringLiteral("入门"))));
        page->importFile(
            fileUrl(writePack(*m_dir, QStringLiteral("law.txt"), QStringLiteral("法律补充包"), 2)));
        PackListModel *packs = page->packs();
        QCOMPARE(packs->count(), 2);
        // Newest import first; a name that already ends with 补充包 is not doubled.
        auto row = [&](int r, int role) {
            return packs->data(packs->index(r), role);
        };
        QCOMPARE(row(0, PackListModel::NameRole).toString(), QStringLiteral("法律补充包"));
        QCOMPARE(row(0, PackListModel::DetailRole).toString(), QStringLiteral("2 条 · law.txt"));
        QCOMPARE(row(1, PackListModel::NameRole).toString(), QStringLiteral("金融补充包"));
        QCOMPARE(row(1, PackListModel::DetailRole).toString(), QStringLiteral("入门 · 3 条"));
        QCOMPARE(row(1, PackListModel::ToggleTooltipRole).toString(), QStringLiteral("停用补充包"));

        // Switching a pack updates its row in place: the delegates stay.
        QSignalSpy reset(packs, &QAbstractItemModel::modelReset);
        QSignalSpy changed(packs, &QAbstractItemModel::dataChanged);
        page->setPackEnabled(1, false);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toModelIndex().row(), 1);
        QCOMPARE(row(1, PackListModel::ToggleTooltipRole).toString(), QStringLiteral("启用补充包"));

        page->requestDelete(0);
        QVERIFY(page->confirmingDelete());
        QCOMPARE(page->deleteMessage(),
                 QStringLiteral("“法律补充包”及其中 2 条解释会从这台电脑删除。"));
    }

    void statusLineAfterEachAction()
    {
        // A library file that cannot be read is reported until an action speaks.
        {
            QFile broken(m_dir->filePath(QStringLiteral("lib.json")));
            QVERIFY(broken.open(QIODevice::WriteOnly));
            broken.write("{ not json");
        }
        m_library =
            std::make_unique<CustomGlossaryStore>(m_dir->filePath(QStringLiteral("lib.json")));
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        QVERIFY(page->statusLine().startsWith(QStringLiteral("本地补充包没有加载成功：")));

        page->importFile(fileUrl(m_dir->filePath(QStringLiteral("notes.pdf"))));
        QCOMPARE(page->statusLine(), QStringLiteral("只支持导入 MD 或 TXT 文件。"));

        page->importFile(
            fileUrl(writePack(*m_dir, QStringLiteral("f.md"), QStringLiteral("金融"), 2)));
        QCOMPARE(page->statusLine(), QStringLiteral("已导入 金融补充包 · 2 条"));

        // Cancelling the delete leaves the message; deleting clears it, and the
        // library's own notice (where the unreadable file went) shows again.
        page->requestDelete(0);
        page->cancelDelete();
        QVERIFY(!page->confirmingDelete());
        QCOMPARE(page->statusLine(), QStringLiteral("已导入 金融补充包 · 2 条"));
        page->requestDelete(0);
        page->confirmDelete();
        QVERIFY(!page->confirmingDelete());
        QVERIFY(!page->hasPacks());
        QCOMPARE(page->statusLine(), m_library->loadError());
    }

    // A shipped pack is added through the ordinary import: it then is a pack
    // like any other, and adding it again replaces it, keeping its id and its
    // switch. The offer follows the library, whoever changed it.
    void shippedPacksAreAddedAndUpdatedThroughTheImport()
    {
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        BundledPackListModel *offered = page->bundledPacks();
        QCOMPARE(offered->count(), 0);
        page->setBundledPacks(shippedPacks());
        QCOMPARE(offered->count(), 5);
        auto role = [&](int row, int role) {
            return offered->data(offered->index(row), role);
        };
        const int entries = role(0, BundledPackListModel::EntryCountRole).toInt();
        QCOMPARE(role(0, BundledPackListModel::NameRole).toString(),
                 QStringLiteral("软件与运维词库"));
        QCOMPARE(role(0, BundledPackListModel::DetailRole).toString(),
                 QStringLiteral("软件与运维 · 常用词 · 给不写代码的同事 · %1 条").arg(entries));
        QCOMPARE(role(0, BundledPackListModel::AddedRole).toBool(), false);
        QCOMPARE(role(0, BundledPackListModel::AddedStateRole).toString(), QString());
        QCOMPARE(role(0, BundledPackListModel::ActionTitleRole).toString(), QStringLiteral("添加"));
        QCOMPARE(role(0, BundledPackListModel::ActionAccessibleNameRole).toString(),
                 QStringLiteral("添加 软件与运维词库"));

        QSignalSpy rowsChanged(offered, &QAbstractItemModel::dataChanged);
        page->addBundledPack(0);
        QCOMPARE(page->statusLine(),
                 QStringLiteral("已导入 软件与运维补充包 · %1 条").arg(entries));
        QCOMPARE(m_library->packs().size(), 1);
        const GlossaryPack added = m_library->packs().first();
        QCOMPARE(added.sourceFileName, QStringLiteral("software-ops.md"));
        QCOMPARE(page->badgeTitle(), QStringLiteral("%1 条可用").arg(200 + entries));
        // Only the row whose state changed is updated.
        QCOMPARE(rowsChanged.size(), 1);
        QCOMPARE(rowsChanged.first().at(0).toModelIndex().row(), 0);
        QCOMPARE(role(0, BundledPackListModel::AddedRole).toBool(), true);
        QCOMPARE(role(0, BundledPackListModel::AddedStateRole).toString(),
                 QStringLiteral("已添加"));
        QCOMPARE(role(0, BundledPackListModel::ActionAccessibleNameRole).toString(),
                 QStringLiteral("更新 软件与运维词库"));
        QCOMPARE(role(1, BundledPackListModel::AddedRole).toBool(), false);

        // Switched off in the pack list, it stays added and stays off when updated.
        page->setPackEnabled(0, false);
        QCOMPARE(role(0, BundledPackListModel::AddedStateRole).toString(),
                 QStringLiteral("已添加 · 已停用"));
        page->addBundledPack(0);
        QCOMPARE(page->statusLine(),
                 QStringLiteral("已导入 软件与运维补充包 · %1 条，已更新旧版本").arg(entries));
        QCOMPARE(m_library->packs().size(), 1);
        QCOMPARE(m_library->packs().first().id, added.id);
        QVERIFY(!m_library->packs().first().isEnabled);

        // A second shipped pack is a second pack; deleting one offers it again.
        page->addBundledPack(4);
        QCOMPARE(m_library->packs().size(), 2);
        QVERIFY(m_library->packs().first().isEnabled);
        QVERIFY(m_library->remove(added.id));
        QCOMPARE(role(0, BundledPackListModel::ActionTitleRole).toString(), QStringLiteral("添加"));
        QCOMPARE(role(4, BundledPackListModel::ActionTitleRole).toString(), QStringLiteral("更新"));

        // A row that does not exist does nothing.
        const QString before = page->statusLine();
        page->addBundledPack(5);
        page->addBundledPack(-1);
        QCOMPARE(page->statusLine(), before);
        QCOMPARE(m_library->packs().size(), 1);
    }

    // A shipped file that went away between offering and adding says why.
    void aShippedPackThatIsGoneSaysSo()
    {
        auto model = makeModel();
        QList<BundledPack> packs = shippedPacks();
        QVERIFY(!packs.isEmpty());
        packs.first().filePath = m_dir->filePath(QStringLiteral("gone.md"));
        model->vocabulary()->setBundledPacks(packs);
        model->vocabulary()->addBundledPack(0);
        QCOMPARE(model->vocabulary()->statusLine(), PackError::readFailed().message());
        QVERIFY(m_library->packs().isEmpty());
    }

    void theCopiedPromptIsThePackTemplateTheParserReads()
    {
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        const QString prompt = VocabularyPageModel::packagePrompt();
        QFile resource(QStringLiteral(":/wordlumen/packprompt.txt"));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        const QByteArray bytes = resource.readAll();
        QVERIFY(!bytes.endsWith('\n'));
        QVERIFY(bytes.startsWith("你是一位“行业黑话补充包”制作助手。"));

        page->copyPackagePrompt();
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(), bytes);

        // The template inside it is a pack: a generic title, the industry
        // line, and numbered entries whose prefix the parser removes.
        const qsizetype from = prompt.indexOf(QStringLiteral("# 行业黑话补充包"));
        const qsizetype to = prompt.indexOf(QStringLiteral("保持相同结构"));
        QVERIFY(from > 0 && to > from);
        const auto draft = GlossaryPackageParser::parse(prompt.mid(from, to - from),
                                                        QStringLiteral("template.txt"));
        QVERIFY(draft);
        QCOMPARE(draft->industry, QStringLiteral("这里填写行业名称"));
        QCOMPARE(draft->entries.first().term, QStringLiteral("术语名称"));
    }

    void twoQuickCopiesResetAfterTheFirst()
    {
        auto model = makeModel();
        VocabularyPageModel *page = model->vocabulary();
        QElapsedTimer clock;
        clock.start();
        page->copyPackagePrompt();
        QCOMPARE(page->copyPromptTitle(), QStringLiteral("提示词已复制"));
        QTest::qWait(600);
        page->copyPackagePrompt();
        QSignalSpy reset(page, &VocabularyPageModel::didCopyPackagePromptChanged);
        QVERIFY(reset.wait(2000));
        // The first copy's own reset, not one pushed back by the second copy.
        QVERIFY2(clock.elapsed() < 1700, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(page->copyPromptTitle(), QStringLiteral("复制制作提示词"));
    }

    void unknownStoredStylesShowTheDefaults()
    {
        QSettings settings;
        settings.setValue(QStringLiteral("explanationAudience"), QStringLiteral("elder"));
        settings.setValue(QStringLiteral("explanationLength"), QStringLiteral("huge"));
        auto model = makeModel();
        ApiPageModel *api = model->api();
        QCOMPARE(api->audienceIndex(), 0);
        QCOMPARE(api->styleLine(), QStringLiteral("通俗白话 · 推荐"));
        QCOMPARE(api->lengthIndex(), 1);
        QCOMPARE(api->lengthSummaryLine(),
                 QStringLiteral("推荐默认 · 2～3 句 · 70～100 字 · 视角不额外加长"));
        // Showing the default does not rewrite what is stored.
        QCOMPARE(QSettings().value(QStringLiteral("explanationAudience")).toString(),
                 QStringLiteral("elder"));

        QSignalSpy changed(api, &ApiPageModel::styleChanged);
        api->setAudienceIndex(4);
        api->setLengthIndex(2);
        QCOMPARE(QSettings().value(QStringLiteral("explanationAudience")).toString(),
                 QStringLiteral("custom"));
        QCOMPARE(QSettings().value(QStringLiteral("explanationLength")).toString(),
                 QStringLiteral("detailed"));
        QVERIFY(api->customAudience());
        QCOMPARE(api->styleLine(), QStringLiteral("自定义 · 完整"));
        QCOMPARE(changed.size(), 2);
    }

    void hoveringALengthShowsItsSummaryUntilThePointerLeavesIt()
    {
        auto model = makeModel();
        ApiPageModel *api = model->api();
        api->hoverLength(0);
        QCOMPARE(api->lengthSummaryLine(),
                 QStringLiteral("快速扫读 · 1～2 句 · 40～60 字 · 视角不额外加长"));
        // Entering the next segment before the previous one reports leaving.
        api->hoverLength(2);
        api->unhoverLength(0);
        QCOMPARE(api->hoveredLength(), 2);
        api->unhoverLength(2);
        QCOMPARE(api->hoveredLength(), -1);
        QCOMPARE(api->lengthSummaryLine(),
                 QStringLiteral("推荐默认 · 2～3 句 · 70～100 字 · 视角不额外加长"));
    }

    void saveAcceptsWhatTheClientAccepts_data()
    {
        QTest::addColumn<QString>("endpoint");
        QTest::addColumn<bool>("saves");
        QTest::addRow("https") << QStringLiteral("https://api.example.com/v1/chat/completions")
                               << true;
        QTest::addRow("http to this machine")
            << QStringLiteral("http://127.0.0.1:8080/v1/chat/completions") << true;
        QTest::addRow("http to another host")
            << QStringLiteral("http://api.example.com/v1/chat/completions") << false;
        QTest::addRow("HTTPS in capitals")
            << QStringLiteral("HTTPS://api.example.com/v1/chat/completions") << false;
    }
    void saveAcceptsWhatTheClientAccepts()
    {
        QFETCH(QString, endpoint);
        QFETCH(bool, saves);
        auto model = makeModel();
        ApiPageModel *api = model->api();
        api->settings()->setEndpoint(endpoint);
        api->settings()->setApiKey(QStringLiteral(" sk-new \n"));
        QVERIFY(api->connected());
        QSignalSpy announced(&ApiSettingsNotifier::instance(),
                             &ApiSettingsNotifier::apiSettingsDidChange);
        api->settings()->save();
        QCOMPARE(api->settings()->didSave(), saves);
        QCOMPARE(announced.size(), saves ? 1 : 0);
        QCOMPARE(m_secretStore->item.has_value(), saves);
        if (saves)
            QCOMPARE(api->settings()->statusMessage(), QStringLiteral("API 设置已保存。"));
    }

    void anEmptyKeyRemovesTheStoredOne()
    {
        m_secretStore->item = QByteArrayLiteral("sk-old");
        auto model = makeModel();
        ApiPageModel *api = model->api();
        QVERIFY(api->connected());
        QCOMPARE(api->sidebarDetail(), QStringLiteral("API 已连接"));
        api->settings()->setApiKey(QStringLiteral("   "));
        QCOMPARE(api->sidebarDetail(), QStringLiteral("默认 DeepSeek · 未连接"));
        api->settings()->save();
        QCOMPARE(api->settings()->statusMessage(), QStringLiteral("已保存，本地词库优先。"));
        QVERIFY(!m_secretStore->item);
    }

    // Where the desktop has no login item, the switch says so instead of turning "on".
    void startAtLoginWithoutALoginItemSaysItIsNotAvailable()
    {
        StartAtLogin unavailable(std::make_unique<UnavailableLoginItem>());
        QVERIFY(!unavailable.isAvailable());
        QVERIFY(!unavailable.isEnabled());
        QVERIFY(unavailable.statusText().contains(QStringLiteral("还不能")));
        unavailable.setEnabled(true);
        QVERIFY(!unavailable.isEnabled());
        QVERIFY(unavailable.hasProblem());
        QVERIFY(!unavailable.errorMessage().isEmpty());

        // A login item that refuses keeps its state and says why.
        StartAtLogin refusing(
            std::make_unique<testing::FakeLoginItem>(false, QStringLiteral("不行")));
        refusing.setEnabled(true);
        QVERIFY(!refusing.isEnabled());
        QCOMPARE(refusing.statusText(), QStringLiteral("不行"));
        StartAtLogin working(std::make_unique<testing::FakeLoginItem>());
        QSignalSpy changed(&working, &StartAtLogin::enabledChanged);
        working.setEnabled(true);
        QVERIFY(working.isEnabled());
        QCOMPARE(changed.count(), 1);
        QVERIFY(!working.hasProblem());
    }

    void theFloatingPageDrivesTheCard()
    {
        auto model = makeModel();
        FloatingPageModel *floating = model->floating();
        QVERIFY(!floating->cardVisible());
        QCOMPARE(floating->visibilityActionTitle(), QStringLiteral("显示浮卡"));
        floating->toggleVisibility();
        QVERIFY(m_card->isVisible());
        QCOMPARE(floating->sidebarDetail(), QStringLiteral("正在桌面显示"));
        QCOMPARE(floating->badgeTitle(), QStringLiteral("正在显示"));
        floating->toggleVisibility();
        QCOMPARE(floating->sidebarDetail(), QStringLiteral("当前已隐藏"));

        // The shape applies at once to the panel and is stored.
        floating->setTriggerStyle(QStringLiteral("wide"));
        QCOMPARE(m_card->collapsedSize(), QSizeF(188, 68));
        QCOMPARE(QSettings().value(QStringLiteral("floatingTriggerStyle")).toString(),
                 QStringLiteral("wide"));
    }

    void theWindowIsFixedHidesOnCloseAndFocusesNothing()
    {
        auto model = makeModel();
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        ControlCenterWindow window(&engine, model.get());
        window.show(true);
        QQuickView *view = window.window();
        QVERIFY(view);
        QVERIFY2(view->errors().isEmpty(), qPrintable(view->errors().value(0).toString()));
        QCOMPARE(view->size(), QSize(640, 502));
        QCOMPARE(view->minimumSize(), view->maximumSize());
        QCOMPARE(view->title(), QStringLiteral("Wordlumen 设置"));
        QVERIFY(view->flags() & Qt::FramelessWindowHint);
        QVERIFY(QTest::qWaitForWindowExposed(view));

        // 0.15 s after showing, no control holds the keyboard.
        QTRY_VERIFY(view->activeFocusItem() == view->rootObject());

        // Closing hides; showing again brings back the same window where it was.
        view->setPosition(40, 30);
        QPointer<QQuickView> kept(view);
        view->close();
        QVERIFY(kept);
        QVERIFY(!view->isVisible());
        window.show(false);
        QCOMPARE(window.window(), view);
        QCOMPARE(view->position(), QPoint(40, 30));
        QVERIFY(view->isVisible());
    }

    // The list is newest first; the search finds Chinese and Latin text in the
    // term or the answer; the filter keeps starred entries; and the empty list
    // says why it is empty.
    void theHistoryPageSearchesAndFiltersItsList()
    {
        recordTerms({QStringLiteral("API"), QStringLiteral("程序之间约好的接口。"),
                     QStringLiteral("云原生"),
                     QStringLiteral("为云环境设计的应用，常用 Kubernetes。"), QStringLiteral("KPI"),
                     QStringLiteral("关键绩效指标。")});
        auto model = makeModel();
        HistoryPageModel *page = model->history();
        HistoryListModel *list = page->entries();
        QCOMPARE(page->sidebarDetail(), QStringLiteral("正在记录 · 最多 1,000 条"));
        list->refresh();
        QCOMPARE(terms(*list), (QStringList{QStringLiteral("KPI"), QStringLiteral("云原生"),
                                            QStringLiteral("API")}));
        QVERIFY(!page->isEmpty());

        QSignalSpy listChanged(page, &HistoryPageModel::listChanged);
        page->setSearchText(QStringLiteral("云"));
        QCOMPARE(terms(*list), QStringList{QStringLiteral("云原生")});
        QVERIFY(!listChanged.isEmpty());
        page->setSearchText(QStringLiteral("kubern"));
        QCOMPARE(terms(*list), QStringList{QStringLiteral("云原生")});
        page->setSearchText(QStringLiteral("区块链"));
        QVERIFY(page->isEmpty());
        QCOMPARE(page->emptyText(), QStringLiteral("没有找到包含“区块链”的记录。"));
        page->setSearchText(QString());

        page->toggleStar(2);
        QCOMPARE(page->statusLine(), QStringLiteral("已收藏“API”"));
        page->setStarredOnly(true);
        QCOMPARE(terms(*list), QStringList{QStringLiteral("API")});
        // Unstarred while only starred ones show, it leaves the list.
        page->toggleStar(0);
        QVERIFY(page->isEmpty());
        QVERIFY(page->emptyText().startsWith(QStringLiteral("还没有收藏")));
        page->setStarredOnly(false);
        QCOMPARE(list->rowCount(), 3);

        // A row opens its entry on the card; the shell shows it without a request.
        QSignalSpy opened(page, &HistoryPageModel::openRequested);
        page->open(1);
        QCOMPARE(opened.size(), 1);
        const auto entry = opened.first().first().value<HistoryEntry>();
        QCOMPARE(entry.term, QStringLiteral("云原生"));
        QCOMPARE(entry.source, AnswerSource::dictionary());
        page->open(7);
        QCOMPARE(opened.size(), 1);
    }

    // Deleting one entry is immediate; clearing everything, and a lower limit that
    // would evict entries at once, wait for a confirmation that can be cancelled.
    // Starred entries survive the limit.
    void clearingAndLoweringTheLimitAskFirst()
    {
        QStringList pairs;
        for (int i = 0; i < 12; ++i)
            pairs << QStringLiteral("术语%1").arg(i) << QStringLiteral("解释%1").arg(i);
        recordTerms(pairs);
        QVERIFY(m_history->star(QStringLiteral("术语0")));
        auto model = makeModel();
        HistoryPageModel *page = model->history();
        HistoryListModel *list = page->entries();
        list->refresh();

        page->remove(0);
        QCOMPARE(page->statusLine(), QStringLiteral("已删除“术语11”"));
        QCOMPARE(*m_history->count(HistoryQuery{}), 11);

        // 10 is none of the offered limits; stored, it is offered beside them.
        const QStringList offered{QStringLiteral("10 条"), QStringLiteral("200 条"),
                                  QStringLiteral("1,000 条"), QStringLiteral("5,000 条"),
                                  QStringLiteral("20,000 条")};
        HistorySettings::setLimit(10);
        QVERIFY(m_history->setEntryLimit(10));
        QCOMPARE(page->limitTitles(), offered);
        QCOMPARE(page->limitIndex(), 0);
        QCOMPARE(*m_history->count(HistoryQuery{}), 10);
        QVERIFY(m_history->setEntryLimit(1000));
        HistorySettings::setLimit(1000);
        QCOMPARE(page->limitIndex(), 1);
        list->refresh();

        // A higher limit evicts nothing and applies at once.
        page->chooseLimit(2);
        QVERIFY(!page->confirming());
        QCOMPARE(m_history->entryLimit(), 5000);
        QCOMPARE(HistorySettings::limit(), 5000);
        QCOMPARE(page->limitIndex(), 2);

        page->requestClear();
        QVERIFY(page->confirming());
        QCOMPARE(page->confirmTitle(), QStringLiteral("清空查询历史？"));
        QVERIFY(
            page->confirmMessage().startsWith(QStringLiteral("10 条查询记录（包括 1 条收藏）")));
        page->cancelConfirmation();
        QVERIFY(!page->confirming());
        QCOMPARE(*m_history->count(HistoryQuery{}), 10);
        page->requestClear();
        page->confirm();
        QCOMPARE(*m_history->count(HistoryQuery{}), 0);
        QCOMPARE(page->statusLine(), QStringLiteral("已清空查询历史"));
        QVERIFY(page->isEmpty());
        page->requestClear();
        QVERIFY(!page->confirming());
        QCOMPARE(page->statusLine(), QStringLiteral("查询历史已经是空的。"));
    }

    void aLowerLimitEvictsTheOldestUnstarredAfterConfirmation()
    {
        QStringList pairs;
        for (int i = 0; i < 205; ++i)
            pairs << QStringLiteral("term%1").arg(i) << QStringLiteral("answer");
        recordTerms(pairs);
        QVERIFY(m_history->star(QStringLiteral("term0")));
        auto model = makeModel();
        HistoryPageModel *page = model->history();

        page->chooseLimit(0); // 200
        QVERIFY(page->confirming());
        QCOMPARE(page->confirmTitle(), QStringLiteral("降低保留上限？"));
        QVERIFY(page->confirmMessage().contains(QStringLiteral("会立即移除 5 条")));
        page->cancelConfirmation();
        QCOMPARE(m_history->entryLimit(), 1000);

        page->chooseLimit(0);
        page->confirm();
        QCOMPARE(m_history->entryLimit(), 200);
        QCOMPARE(HistorySettings::limit(), 200);
        QCOMPARE(*m_history->count(HistoryQuery{}), 200);
        HistoryQuery starred;
        starred.starredOnly = true;
        QCOMPARE(*m_history->count(starred), 1);
        // The oldest unstarred ones went: term1 … term5.
        QVERIFY(!m_history->savedAnswer(QStringLiteral("term5")).value());
        QVERIFY(m_history->savedAnswer(QStringLiteral("term6")).value());
    }

    // The switch is stored and stops recording at once; the page says so, and
    // what was recorded stays.
    void theSwitchStopsRecordingAndThePageSaysSo()
    {
        recordTerms({QStringLiteral("API"), QStringLiteral("接口。")});
        auto model = makeModel();
        HistoryPageModel *page = model->history();
        QVERIFY(page->recordingEnabled());
        QVERIFY(page->badgeHealthy());

        QSignalSpy changed(page, &HistoryPageModel::settingsChanged);
        page->setRecordingEnabled(false);
        QVERIFY(!changed.isEmpty());
        QVERIFY(!HistorySettings::enabled());
        QVERIFY(!m_history->recordingEnabled());
        QCOMPARE(page->sidebarDetail(), QStringLiteral("记录已暂停"));
        QCOMPARE(page->badgeTitle(), QStringLiteral("已暂停"));
        QVERIFY(!page->badgeHealthy());
        QVERIFY(page->recordingNote().startsWith(QStringLiteral("已暂停记录")));

        QVERIFY(m_history->record(lookup(QStringLiteral("KPI"), QStringLiteral("指标。"))));
        page->entries()->refresh();
        QCOMPARE(terms(*page->entries()), QStringList{QStringLiteral("API")});
        page->entries()->clear();
        QCOMPARE(page->emptyText(), QStringLiteral("记录已暂停，新的查询不会出现在这里。"));

        // Without a history the page says it is unavailable and changes nothing.
        HistoryPageModel none(nullptr);
        QCOMPARE(none.sidebarDetail(), QStringLiteral("暂时不可用"));
        none.requestClear();
        QVERIFY(!none.confirming());
    }

    // Each format writes its file, gaining its extension when the name has
    // none; what was written is said under the button.
    void theExportsWriteTheChosenFormat()
    {
        recordTerms({QStringLiteral("API"), QStringLiteral("接口。"), QStringLiteral("KPI"),
                     QStringLiteral("指标。")});
        QVERIFY(m_history->star(QStringLiteral("KPI")));
        auto model = makeModel();
        HistoryPageModel *page = model->history();
        QVERIFY(page->exportStarredOnly());
        QCOMPARE(page->exportFileName(), QStringLiteral("Wordlumen-我的收藏.md"));

        const QString packPath = m_dir->filePath(QStringLiteral("收藏"));
        page->exportTo(fileUrl(packPath));
        QCOMPARE(page->exportStatus(),
                 QStringLiteral("已导出 1 条到 %1.md。").arg(QDir::toNativeSeparators(packPath)));
        // The pack is one the library imports.
        const auto imported = m_library->importFile(packPath + QStringLiteral(".md"));
        QVERIFY(imported);
        QCOMPARE(imported->pack.entries.size(), 1);

        page->setExportFormatIndex(2);
        page->setExportStarredOnly(false);
        QCOMPARE(page->exportFileName(), QStringLiteral("Wordlumen-查询历史.csv"));
        QCOMPARE(page->exportNameFilters(), QStringList{QStringLiteral("CSV 表格 (*.csv)")});
        const QString csvPath = m_dir->filePath(QStringLiteral("all.csv"));
        page->exportTo(fileUrl(csvPath));
        QVERIFY(page->exportStatus().startsWith(QStringLiteral("已导出 2 条")));
        QVERIFY(QFileInfo::exists(csvPath));
        QCOMPARE(HistoryPageModel::exportPath(fileUrl(m_dir->filePath(QStringLiteral("x"))),
                                              HistoryExport::Format::Tsv),
                 m_dir->filePath(QStringLiteral("x.txt")));
        page->setExportFormatIndex(9);
        QCOMPARE(page->exportFormatIndex(), 2);
    }

    // Every control is reached with Tab in reading order, and Space presses it.
    void theKeyboardWorksEveryPage()
    {
        auto model = makeModel();
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        ControlCenterWindow window(&engine, model.get());
        window.show(true);
        QQuickView *view = window.window();
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QTRY_VERIFY(view->activeFocusItem() == view->rootObject());

        auto focusedName = [view] {
            QQuickItem *item = view->activeFocusItem();
            for (const char *name : {"title", "label", "accessibleName", "style"}) {
                const QString value = item ? item->property(name).toString() : QString();
                if (!value.isEmpty())
                    return value;
            }
            return QString();
        };
        auto tabUntil = [&](const QString &name) {
            for (int i = 0; i < 30; ++i) {
                QTest::keyClick(view, Qt::Key_Tab);
                if (focusedName() == name)
                    return true;
            }
            return false;
        };
        // The card is not shown in this test, so its switch offers to show it.
        const QString visibilityTitle =
            m_card->isVisible() ? QStringLiteral("隐藏浮卡") : QStringLiteral("显示浮卡");
        QStringList order;
        for (int i = 0; i < 10; ++i) {
            QTest::keyClick(view, Qt::Key_Tab);
            order << focusedName();
        }
        QCOMPARE(order, (QStringList{QStringLiteral("浮动卡"), QStringLiteral("本地词库"),
                                     QStringLiteral("API 与口吻"), QStringLiteral("历史与收藏"),
                                     QStringLiteral("精简"), QStringLiteral("完整"),
                                     visibilityTitle, QStringLiteral("回到右下角"),
                                     QStringLiteral("最小化"), QStringLiteral("关闭")}));

        // Space on a tile chooses it; on a sidebar row it opens that page.
        QVERIFY(tabUntil(QStringLiteral("完整")));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(m_card->triggerStyleName(), QStringLiteral("wide"));
        QVERIFY(tabUntil(QStringLiteral("本地词库")));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(model->selection(), ControlCenterModel::Section::Scripts);

        // The delete dialog opens from the keyboard, and Escape closes it.
        model->vocabulary()->importFile(
            fileUrl(writePack(*m_dir, QStringLiteral("k.md"), QStringLiteral("金融"), 2)));
        QVERIFY(tabUntil(QStringLiteral("删除补充包")));
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(model->vocabulary()->confirmingDelete());
        QTRY_COMPARE(focusedName(), QStringLiteral("取消"));
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!model->vocabulary()->confirmingDelete());
        QVERIFY(model->vocabulary()->hasPacks());

        // The shipped packs' buttons are named after their pack for screen
        // readers; Space adds one, Return on the same button then updates it.
        model->vocabulary()->setBundledPacks(shippedPacks());
        auto tabUntilNamed = [&](const QString &name) {
            for (int i = 0; i < 60; ++i) {
                QTest::keyClick(view, Qt::Key_Tab);
                QQuickItem *item = view->activeFocusItem();
                if (item && item->property("accessibleName").toString() == name)
                    return true;
            }
            return false;
        };
        QVERIFY(tabUntilNamed(QStringLiteral("添加 职场黑话词库")));
        QTest::keyClick(view, Qt::Key_Space);
        QCOMPARE(model->vocabulary()->packs()->count(), 2);
        QVERIFY(
            model->vocabulary()->statusLine().startsWith(QStringLiteral("已导入 职场黑话补充包")));
        QTRY_COMPARE(view->activeFocusItem()->property("accessibleName").toString(),
                     QStringLiteral("更新 职场黑话词库"));
        QTest::keyClick(view, Qt::Key_Return);
        QVERIFY(model->vocabulary()->statusLine().endsWith(QStringLiteral("已更新旧版本")));
        QCOMPARE(model->vocabulary()->packs()->count(), 2);

        // Tab reaches the chosen style; the arrow keys choose the next one and
        // take the keyboard along, and Tab leaves the group from there.
        model->setSelection(ControlCenterModel::Section::Api);
        const QStringList audiences = ApiPageModel::audienceTitles();
        QVERIFY(tabUntil(audiences.at(model->api()->audienceIndex())));
        QTest::keyClick(view, Qt::Key_Right);
        QCOMPARE(model->api()->audienceIndex(), 1);
        QCOMPARE(focusedName(), audiences.at(1));
        QTest::keyClick(view, Qt::Key_Left);
        QCOMPARE(model->api()->audienceIndex(), 0);
        QCOMPARE(focusedName(), audiences.at(0));
        QTest::keyClick(view, Qt::Key_Tab);
        QVERIFY(!audiences.contains(focusedName()));

        // The history's list is one stop of Tab: arrows pick a row, Ctrl+D stars
        // it, Delete removes it and Return opens it on the card.
        recordTerms({QStringLiteral("API"), QStringLiteral("接口。"), QStringLiteral("KPI"),
                     QStringLiteral("指标。"), QStringLiteral("OKR"), QStringLiteral("目标。")});
        model->setSelection(ControlCenterModel::Section::History);
        // The list hands the keyboard on to its current row.
        auto tabToObject = [view](const QString &objectName) {
            for (int i = 0; i < 30; ++i) {
                QTest::keyClick(view, Qt::Key_Tab);
                for (QQuickItem *item = view->activeFocusItem(); item; item = item->parentItem()) {
                    if (item->objectName() == objectName)
                        return true;
                }
            }
            return false;
        };
        QVERIFY(tabToObject(QStringLiteral("historySearch")));
        QVERIFY(tabToObject(QStringLiteral("historyList")));
        QTRY_COMPARE(model->history()->entries()->rowCount(), 3);
        QTest::keyClick(view, Qt::Key_Down);
        QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(m_history->savedAnswer(QStringLiteral("KPI")).value()->starred);
        QTest::keyClick(view, Qt::Key_Delete);
        QVERIFY(!m_history->savedAnswer(QStringLiteral("KPI")).value());
        QSignalSpy opened(model->history(), &HistoryPageModel::openRequested);
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(opened.size(), 1);
    }
};

QTEST_MAIN(ControlCenterTest)
#include "tst_controlcenter.moc"
