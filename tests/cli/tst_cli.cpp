#include "history/historystore.h"
#include "packs/customglossarystore.h"
#include "tests/support/fakechatserver.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>

using namespace wordlumen;
using namespace wordlumen::testing;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    [[nodiscard]] QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

/// Answers every connection with bytes that are not TLS, as a plain HTTP
/// server behind an https endpoint would.
class NotTlsServer final : public QTcpServer
{
public:
    NotTlsServer()
    {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection())
                socket->write("HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n");
        });
    }
};

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString m_dictionary;

    // Runs the program without blocking, so the test's own server can answer it.
    Run run(const QStringList &arguments, const QByteArray &input = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           m_home.filePath(QStringLiteral(".config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"),
                           m_home.filePath(QStringLiteral(".local/share")));
        process.setProcessEnvironment(environment);
        process.start(qEnvironmentVariable("WORDLUMEN_CLI"), arguments);
        if (!process.waitForStarted())
            return {};
        process.write(input);
        process.closeWriteChannel();
        QSignalSpy finished(&process, &QProcess::finished);
        if (!finished.wait(20000))
            process.kill();
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    /// Stores the endpoint, then the key against it, as a user would; false
    /// when this session has no keyring to store it in.
    bool storeKeyFor(const QString &endpoint)
    {
        const Run configured =
            run({QStringLiteral("config"), QStringLiteral("deepseekEndpoint"), endpoint});
        const Run saved = run({QStringLiteral("set-key")}, "sk-cli-test\n");
        if (saved.exitCode != 0 && saved.out.contains("API Key 保存失败"))
            return false;
        [&] {
            QCOMPARE(configured.exitCode, 0);
            QCOMPARE(saved.exitCode, 0);
        }();
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(!qEnvironmentVariableIsEmpty("WORDLUMEN_CLI"));
        // A small dictionary of our own, so these tests do not depend on the shipped one.
        m_dictionary = m_home.filePath(QStringLiteral("dictionary"));
        QVERIFY(QDir().mkpath(m_dictionary));
        QFile markdown(m_dictionary + QStringLiteral("/Glossary.md"));
        QVERIFY(markdown.open(QIODevice::WriteOnly));
        for (int i = 1; i <= 200; ++i) {
            const QString title =
                i == 1 ? QStringLiteral("检索增强生成（RAG）") : QStringLiteral("词条%1").arg(i);
            markdown.write(QStringLiteral("%1. **%2**\n白话：第 %1 条的解释。\n\n")
                               .arg(i)
                               .arg(title)
                               .toUtf8());
        }
        markdown.close();
        QFile aliases(m_dictionary + QStringLiteral("/Aliases.json"));
        QVERIFY(aliases.open(QIODevice::WriteOnly));
        aliases.write(R"({"1": ["检索增强"]})");
    }

    void usageErrorsExitTwo()
    {
        QCOMPARE(run({}).exitCode, 2);
        QCOMPARE(run({QStringLiteral("frobnicate")}).exitCode, 2);
        QCOMPARE(run({QStringLiteral("lookup")}).exitCode, 2);
        QCOMPARE(run({QStringLiteral("lookup"), QStringLiteral("--bogus"), QStringLiteral("x")})
                     .exitCode,
                 2);
        const Run help = run({QStringLiteral("lookup"), QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--dictionary"));
    }

    void lookupAnswersFromTheDictionaryAndSaysWhenItCannot()
    {
        const QStringList base{QStringLiteral("lookup"), QStringLiteral("--json"),
                               QStringLiteral("--offline"), QStringLiteral("--dictionary"),
                               m_dictionary};
        Run found = run(base + QStringList{QStringLiteral("什么是"), QStringLiteral("RAG")});
        QCOMPARE(found.exitCode, 0);
        QCOMPARE(found.json().value(QStringLiteral("origin")).toString(), QStringLiteral("local"));
        QCOMPARE(found.json().value(QStringLiteral("term")).toString(),
                 QStringLiteral("检索增强生成（RAG）"));
        QVERIFY(found.json().value(QStringLiteral("error")).isNull());

        Run missing = run(base + QStringList{QStringLiteral("Kubernetes")});
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(missing.json().value(QStringLiteral("origin")).toString(),
                 QStringLiteral("unavailable"));

        // A broken dictionary is reported and the lookup goes on without it.
        Run broken = run({QStringLiteral("lookup"), QStringLiteral("--dictionary"),
                          m_home.filePath(QStringLiteral("nowhere")), QStringLiteral("RAG")});
        QCOMPARE(broken.exitCode, 1);
        QVERIFY(QString::fromUtf8(broken.err)
                    .contains(QStringLiteral("找不到本地词典资源：Glossary.md")));
    }

    void lookupUsesEnabledPacksFirst()
    {
        const QString library = m_home.filePath(QStringLiteral("packs.json"));
        const QString pack = m_home.filePath(QStringLiteral("检索黑话补充包.md"));
        QFile file(pack);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("## RAG\n解释：补充包里的说法。\n").toUtf8());
        file.close();
        QCOMPARE(
            run({QStringLiteral("import"), QStringLiteral("--library"), library, pack}).exitCode,
            0);

        Run found = run({QStringLiteral("lookup"), QStringLiteral("--json"),
                         QStringLiteral("--offline"), QStringLiteral("--library"), library,
                         QStringLiteral("--dictionary"), m_dictionary, QStringLiteral("RAG")});
        QCOMPARE(found.json().value(QStringLiteral("origin")).toString(), QStringLiteral("custom"));
        QCOMPARE(found.json().value(QStringLiteral("explanation")).toString(),
                 QStringLiteral("补充包里的说法。"));
    }

    // A lookup is recorded in the history the app uses, as the card records it.
    void lookupRecordsIntoTheHistoryUnlessAskedNotTo()
    {
        QCOMPARE(run({QStringLiteral("history"), QStringLiteral("clear")}).exitCode, 0);
        const QStringList lookup{QStringLiteral("lookup"), QStringLiteral("--json"),
                                 QStringLiteral("--offline"), QStringLiteral("--dictionary"),
                                 m_dictionary};
        QCOMPARE(
            run(lookup + QStringList{QStringLiteral("什么是"), QStringLiteral("RAG")}).exitCode, 0);
        QCOMPARE(run(lookup + QStringList{QStringLiteral("--no-history"), QStringLiteral("词条2")})
                     .exitCode,
                 0);
        QCOMPARE(run(lookup + QStringList{QStringLiteral("Kubernetes")}).exitCode, 1); // a notice
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled"),
                      QStringLiteral("false")})
                     .exitCode,
                 0);
        QCOMPARE(run(lookup + QStringList{QStringLiteral("词条3")}).exitCode, 0);
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled"),
                      QStringLiteral("true")})
                     .exitCode,
                 0);

        HistoryStore history(
            m_home.filePath(QStringLiteral(".local/share/Zintaro/History.sqlite3")));
        HistoryQuery all;
        all.limit = 0;
        const QList<HistoryEntry> entries = history.list(all)->entries;
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().term, QStringLiteral("检索增强生成（RAG）"));
        QCOMPARE(entries.first().query, QStringLiteral("什么是 RAG"));
        QCOMPARE(toString(entries.first().origin), QStringLiteral("local"));
        QCOMPARE(entries.first().source.name, QStringLiteral("本地词典"));
    }

    // The history verbs on the history a user has: the default place, then --database.
    void historyVerbsListStarExportAndClear()
    {
        const QString database =
            m_home.filePath(QStringLiteral(".local/share/Zintaro/History.sqlite3"));
        // Only what this test records: the lookups before it were recorded too.
        QCOMPARE(run({QStringLiteral("history"), QStringLiteral("clear")}).exitCode, 0);
        {
            QDateTime now = QDateTime::currentDateTimeUtc().addDays(-3);
            HistoryStore seeded(database, {true, 1000, [&now] {
                                               return now = now.addSecs(60);
                                           }});
            const QList<HistoryRecord> records{
                {QStringLiteral("RAG"),
                 QStringLiteral("什么是RAG"),
                 QStringLiteral("先查资料再回答。"),
                 ExplanationOrigin::Local,
                 AnswerSource::dictionary(),
                 {}},
                {QStringLiteral("Token"), QStringLiteral("token"),
                 QStringLiteral("模型计费和计长度的单位。"), ExplanationOrigin::Custom,
                 AnswerSource::pack(QStringLiteral("AI 补充包")),
                 QStringLiteral("报价单上写着按 Token 计费。")},
                {QStringLiteral("向量数据库"),
                 QStringLiteral("向量数据库"),
                 QStringLiteral("按意思相近程度查找内容的数据库。"),
                 ExplanationOrigin::DeepSeek,
                 AnswerSource::online(QStringLiteral("https://api.example.com/v1"),
                                      QStringLiteral("chat-model"), QStringLiteral("白话 · 标准")),
                 {}},
            };
            for (const HistoryRecord &record : records)
                QVERIFY(seeded.record(record));
            QVERIFY(seeded.star(QStringLiteral("RAG")));
        }
        const QString history = QStringLiteral("history");
        auto listed = [&](const QStringList &options) {
            const Run run_ = run(QStringList{history, QStringLiteral("--json")} + options);
            QStringList terms;
            for (const QJsonValue &entry : QJsonDocument::fromJson(run_.out).array())
                terms.append(entry.toObject().value(QStringLiteral("term")).toString());
            return terms;
        };

        const Run json = run({history, QStringLiteral("--json")});
        QCOMPARE(json.exitCode, 0);
        const QJsonArray entries = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(entries.size(), 3);
        const QJsonObject token = entries.at(1).toObject();
        QCOMPARE(token.value(QStringLiteral("term")).toString(), QStringLiteral("Token"));
        QCOMPARE(token.value(QStringLiteral("origin")).toString(), QStringLiteral("custom"));
        QCOMPARE(token.value(QStringLiteral("source")).toObject().value(QStringLiteral("name")),
                 QStringLiteral("AI 补充包"));
        QCOMPARE(token.value(QStringLiteral("context")).toString(),
                 QStringLiteral("报价单上写着按 Token 计费。"));
        QCOMPARE(token.value(QStringLiteral("lookupCount")).toInt(), 1);
        QVERIFY(token.value(QStringLiteral("lastSeen")).toString().endsWith(u'Z'));

        QCOMPARE(listed({QStringLiteral("--starred")}), QStringList{QStringLiteral("RAG")});
        QCOMPARE(listed({QStringLiteral("--limit"), QStringLiteral("1")}),
                 QStringList{QStringLiteral("向量数据库")});
        QCOMPARE(listed({QStringLiteral("--search"), QStringLiteral("计费")}),
                 QStringList{QStringLiteral("Token")});
        QCOMPARE(listed({QStringLiteral("--since"), QStringLiteral("2999-01-01")}), QStringList{});
        QCOMPARE(listed({QStringLiteral("--since"), QStringLiteral("2020-01-01T00:00:00Z")}).size(),
                 3);
        const Run plain = run({history, QStringLiteral("--starred")});
        QCOMPARE(plain.exitCode, 0);
        QVERIFY(plain.out.contains("★ RAG"));
        QVERIFY(plain.out.contains("先查资料再回答。"));

        // Star, unstar; a term not in the history is an error.
        const Run starred = run({history, QStringLiteral("star"), QStringLiteral("token")});
        QCOMPARE(starred.exitCode, 0);
        QCOMPARE(listed({QStringLiteral("--starred")}),
                 (QStringList{QStringLiteral("Token"), QStringLiteral("RAG")}));
        QCOMPARE(run({history, QStringLiteral("unstar"), QStringLiteral("RAG")}).exitCode, 0);
        const Run missing = run({history, QStringLiteral("unstar"), QStringLiteral("不存在的词")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(QString::fromUtf8(missing.err).contains(QStringLiteral("查询历史里没有这个词。")));

        // The starred entries as a pack: imported, they answer as the pack's own.
        const QString pack = m_home.filePath(QStringLiteral("我的收藏.md"));
        const Run exported = run({history, QStringLiteral("export"), QStringLiteral("--format"),
                                  QStringLiteral("pack"), QStringLiteral("--starred"), pack});
        QCOMPARE(exported.exitCode, 0);
        QVERIFY(QString::fromUtf8(exported.out).startsWith(QStringLiteral("已导出 1 条")));
        const QString library = m_home.filePath(QStringLiteral("history-packs.json"));
        QCOMPARE(
            run({QStringLiteral("import"), QStringLiteral("--library"), library, pack}).exitCode,
            0);
        const Run answered =
            run({QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("--offline"),
                 QStringLiteral("--library"), library, QStringLiteral("--dictionary"), m_dictionary,
                 QStringLiteral("Token")});
        QCOMPARE(answered.json().value(QStringLiteral("origin")).toString(),
                 QStringLiteral("custom"));
        QCOMPARE(answered.json().value(QStringLiteral("explanation")).toString(),
                 QStringLiteral("模型计费和计长度的单位。"));

        const QString anki = m_home.filePath(QStringLiteral("anki.txt"));
        QCOMPARE(run({history, QStringLiteral("export"), QStringLiteral("--format"),
                      QStringLiteral("tsv"), anki})
                     .exitCode,
                 0);
        QFile ankiFile(anki);
        QVERIFY(ankiFile.open(QIODevice::ReadOnly));
        QVERIFY(ankiFile.readAll().startsWith("#separator:tab\n"));

        // Usage errors.
        for (const QStringList &arguments :
             {QStringList{history, QStringLiteral("export"), anki},
              QStringList{history, QStringLiteral("export"), QStringLiteral("--format"),
                          QStringLiteral("xlsx"), anki},
              QStringList{history, QStringLiteral("--format"), QStringLiteral("csv")},
              QStringList{history, QStringLiteral("--since"), QStringLiteral("上周")},
              QStringList{history, QStringLiteral("--limit"), QStringLiteral("0")},
              QStringList{history, QStringLiteral("star")},
              QStringList{history, QStringLiteral("clear"), QStringLiteral("--json")},
              QStringList{history, QStringLiteral("forget")}})
            QVERIFY2(run(arguments).exitCode == 2, qPrintable(arguments.join(u' ')));

        QCOMPARE(run({history, QStringLiteral("clear")}).exitCode, 0);
        QCOMPARE(listed({}), QStringList{});

        // Another file, which is no history: moved aside, and the user is told where.
        const QString notes = m_home.filePath(QStringLiteral("notes.sqlite3"));
        QFile notesFile(notes);
        QVERIFY(notesFile.open(QIODevice::WriteOnly));
        notesFile.write("my notes\n");
        notesFile.close();
        const Run other = run({history, QStringLiteral("--database"), notes});
        QCOMPARE(other.exitCode, 0);
        QVERIFY(QString::fromUtf8(other.err).contains(QStringLiteral("notes.unreadable-")));
        QVERIFY(other.out.contains("还没有查询历史"));
    }

    void historySettingsAreStoredForTheApp()
    {
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled")}).out, "true\n");
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled"),
                      QStringLiteral("false")})
                     .exitCode,
                 0);
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled")}).out, "false\n");
        QCOMPARE(
            run({QStringLiteral("config"), QStringLiteral("historyEnabled"), QStringLiteral("off")})
                .exitCode,
            2);
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyLimit")}).out, "1000\n");
        QCOMPARE(
            run({QStringLiteral("config"), QStringLiteral("historyLimit"), QStringLiteral("300")})
                .exitCode,
            0);
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyLimit")}).out, "300\n");
        QCOMPARE(
            run({QStringLiteral("config"), QStringLiteral("historyLimit"), QStringLiteral("5")})
                .exitCode,
            2);
        // Back to the defaults for the tests that follow.
        QCOMPARE(run({QStringLiteral("config"), QStringLiteral("historyEnabled"),
                      QStringLiteral("true")})
                     .exitCode,
                 0);
        QCOMPARE(
            run({QStringLiteral("config"), QStringLiteral("historyLimit"), QStringLiteral("1000")})
                .exitCode,
            0);
    }

private:
    QString writePack(const QString &industry, const QStringList &terms)
    {
        const QString path = m_home.filePath(industry + QStringLiteral("黑话补充包.md"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        QString text = QStringLiteral("行业：%1\n").arg(industry);
        for (const QString &term : terms)
            text += QStringLiteral("## %1\n解释：%2 的说法。\n").arg(term, industry);
        file.write(text.toUtf8());
        return path;
    }

    QStringList industriesIn(const QString &library)
    {
        const Run listed = run({QStringLiteral("packs"), QStringLiteral("--json"),
                                QStringLiteral("--library"), library});
        QStringList industries;
        for (const QJsonValue &pack : QJsonDocument::fromJson(listed.out).array())
            industries.append(pack.toObject().value(QStringLiteral("industry")).toString());
        industries.sort();
        return industries;
    }

private slots:
    // Imports started together once kept only one pack: each program read
    // the library at start and wrote its own copy back.
    void importsStartedTogetherLoseNothing()
    {
        QStringList packs;
        QStringList industries;
        for (int i = 0; i < 4; ++i) {
            industries.append(QStringLiteral("行业%1").arg(i));
            packs.append(writePack(industries.last(), {QStringLiteral("词%1").arg(i)}));
        }
        for (int round = 0; round < 3; ++round) {
            const QString library =
                m_home.filePath(QStringLiteral("together-%1/MyGlossary.json").arg(round));
            std::vector<std::unique_ptr<QProcess>> processes;
            for (const QString &pack : std::as_const(packs)) {
                processes.push_back(std::make_unique<QProcess>());
                processes.back()->start(
                    qEnvironmentVariable("WORDLUMEN_CLI"),
                    {QStringLiteral("import"), QStringLiteral("--library"), library, pack});
            }
            for (const auto &process : processes) {
                QVERIFY(process->waitForFinished(20000));
                QCOMPARE(process->exitCode(), 0);
            }
            QCOMPARE(industriesIn(library), industries);
        }
    }

    // The running app's library shows what the terminal changes meanwhile.
    void runningLibraryPublishesOutsideChanges()
    {
        // Its folder does not exist yet: the first import creates it.
        const QString library = m_home.filePath(QStringLiteral("watched/Zintaro/MyGlossary.json"));
        QVERIFY(QDir().mkpath(m_home.filePath(QStringLiteral("watched"))));
        CustomGlossaryStore store(library);
        QSignalSpy changes(&store, &CustomGlossaryStore::packsChanged);

        const QString law = writePack(QStringLiteral("法律"), {QStringLiteral("诉讼时效")});
        QCOMPARE(
            run({QStringLiteral("import"), QStringLiteral("--library"), library, law}).exitCode, 0);
        QTRY_COMPARE(store.packs().size(), 1);
        QCOMPARE(store.match(u"什么是诉讼时效")->term, QStringLiteral("诉讼时效"));

        const QString tax = writePack(QStringLiteral("税务"), {QStringLiteral("留抵退税")});
        QCOMPARE(
            run({QStringLiteral("import"), QStringLiteral("--library"), library, tax}).exitCode, 0);
        QTRY_COMPARE(store.packs().size(), 2);
        const QString lawId = store.packs().last().id.toString(QUuid::WithoutBraces);
        QCOMPARE(run({QStringLiteral("packs"), QStringLiteral("--library"), library,
                      QStringLiteral("disable"), lawId})
                     .exitCode,
                 0);
        QTRY_VERIFY(!store.packs().last().isEnabled);
        QVERIFY(!store.match(u"诉讼时效"));
        QCOMPARE(changes.count(), 3);

        // Its own change starts from all of that.
        QVERIFY(store.remove(store.packs().first().id));
        QCOMPARE(industriesIn(library), QStringList{QStringLiteral("法律")});
    }

    // A pipe named like a pack once made check-pack wait forever for a writer.
    void spotFindsEveryKnownTermInAPassage()
    {
        const QString library = m_home.filePath(QStringLiteral("spot-packs.json"));
        QCOMPARE(run({QStringLiteral("import"), QStringLiteral("--library"), library,
                      writePack(QStringLiteral("职场"), {QStringLiteral("颗粒度")})})
                     .exitCode,
                 0);
        const QStringList base{QStringLiteral("spot"), QStringLiteral("--dictionary"), m_dictionary,
                               QStringLiteral("--library"), library};

        // Several words are one passage; places count characters from 0.
        const Run json =
            run(base + QStringList{QStringLiteral("--json"), QStringLiteral("先用"),
                                   QStringLiteral("RAG"), QStringLiteral("对齐颗粒度")});
        QCOMPARE(json.exitCode, 0);
        const QJsonArray terms = QJsonDocument::fromJson(json.out).array();
        QCOMPARE(terms.size(), 2);
        QCOMPARE(terms[0].toObject(),
                 (QJsonObject{{QStringLiteral("text"), QStringLiteral("RAG")},
                              {QStringLiteral("start"), 3},
                              {QStringLiteral("length"), 3},
                              {QStringLiteral("term"), QStringLiteral("检索增强生成（RAG）")},
                              {QStringLiteral("origin"), QStringLiteral("local")},
                              {QStringLiteral("explanation"), QStringLiteral("第 1 条的解释。")}}));
        QCOMPARE(terms[1].toObject().value(QStringLiteral("text")).toString(),
                 QStringLiteral("颗粒度"));
        QCOMPARE(terms[1].toObject().value(QStringLiteral("start")).toInt(), 9);
        QCOMPARE(terms[1].toObject().value(QStringLiteral("origin")).toString(),
                 QStringLiteral("custom"));

        // Standard input, with "-" or without any text; an emoji is one character.
        const Run text = run(base + QStringList{QStringLiteral("-")}, "👍🏽检索增强\n");
        QCOMPARE(text.exitCode, 0);
        QCOMPARE(
            QString::fromUtf8(text.out),
            QStringLiteral("检索增强  （第 2 字起，共 4 字） → 检索增强生成（RAG） · 本地词典\n"
                           "    第 1 条的解释。\n"));
        const Run piped = run(base + QStringList{QStringLiteral("--json")}, "rag");
        QCOMPARE(QJsonDocument::fromJson(piped.out).array().size(), 1);

        // Nothing known: a note, no output, and no failure.
        const Run none = run(base + QStringList{QStringLiteral("今天天气不错")});
        QCOMPARE(none.exitCode, 0);
        QVERIFY(none.out.isEmpty());
        QVERIFY(!none.err.isEmpty());

        const Run invalid = run(base, "RAG \xff\xfe");
        QCOMPARE(invalid.exitCode, 1);
        QVERIFY(invalid.out.isEmpty());
        QVERIFY(QString::fromUtf8(invalid.err).contains(QStringLiteral("UTF-8")));

        QCOMPARE(run(base + QStringList{QStringLiteral("--bogus")}).exitCode, 2);
        QCOMPARE(run(base + QStringList{QStringLiteral("-"), QStringLiteral("RAG")}).exitCode, 2);
    }

    void packVerbsRefuseWhatIsNoRegularFile()
    {
        const QString pipe = m_home.filePath(QStringLiteral("pipe.md"));
        QVERIFY2(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0, strerror(errno));
        const QString library = m_home.filePath(QStringLiteral("untouched.json"));
        for (const QStringList &arguments :
             {QStringList{QStringLiteral("check-pack"), pipe},
              QStringList{QStringLiteral("import"), QStringLiteral("--library"), library, pipe}}) {
            const Run refused = run(arguments);
            QCOMPARE(refused.exitCode, 1);
            QVERIFY2(QString::fromUtf8(refused.err).contains(QStringLiteral("不是一个普通文件")),
                     refused.err.constData());
        }
        QVERIFY(!QFileInfo::exists(library));
    }

    // The shipped packs, found beside the program: listed with whether they
    // are added, added by slug or industry through the ordinary import, so a
    // second add replaces the first and keeps its id and its switch.
    void bundledPacksAreListedAndAdded()
    {
        const QString library = m_home.filePath(QStringLiteral("bundled.json"));
        const auto listed = [&] {
            const Run list = run({QStringLiteral("packs"), QStringLiteral("--bundled"),
                                  QStringLiteral("--json"), QStringLiteral("--library"), library});
            [&] {
                QCOMPARE(list.exitCode, 0);
            }();
            QHash<QString, QJsonObject> bySlug;
            for (const QJsonValue &pack : QJsonDocument::fromJson(list.out).array())
                bySlug.insert(pack[QStringLiteral("slug")].toString(), pack.toObject());
            return bySlug;
        };
        QHash<QString, QJsonObject> packs = listed();
        QCOMPARE(packs.size(), 5);
        const QJsonObject softwareOps = packs.value(QStringLiteral("software-ops"));
        QCOMPARE(softwareOps[QStringLiteral("industry")].toString(), QStringLiteral("软件与运维"));
        QCOMPARE(softwareOps[QStringLiteral("added")].toBool(), false);
        QVERIFY(softwareOps[QStringLiteral("entryCount")].toInt() > 100);
        QVERIFY(!QFileInfo::exists(library));

        const Run added = run({QStringLiteral("import"), QStringLiteral("--library"), library,
                               QStringLiteral("--bundled"), QStringLiteral("software-ops")});
        QCOMPARE(added.exitCode, 0);
        QCOMPARE(QString::fromUtf8(added.out),
                 QStringLiteral("已导入 软件与运维补充包 · %1 条\n")
                     .arg(softwareOps[QStringLiteral("entryCount")].toInt()));
        packs = listed();
        QCOMPARE(packs.value(QStringLiteral("software-ops"))[QStringLiteral("added")].toBool(),
                 true);
        QCOMPARE(packs.value(QStringLiteral("ai-advanced"))[QStringLiteral("added")].toBool(),
                 false);
        const QString id =
            packs.value(QStringLiteral("software-ops"))[QStringLiteral("id")].toString();
        QVERIFY(!id.isEmpty());

        // The text listing says the same; a switched-off pack is still added.
        QCOMPARE(run({QStringLiteral("packs"), QStringLiteral("--library"), library,
                      QStringLiteral("disable"), id})
                     .exitCode,
                 0);
        const Run text = run({QStringLiteral("packs"), QStringLiteral("--bundled"),
                              QStringLiteral("--library"), library});
        QVERIFY2(
            QString::fromUtf8(text.out).contains(QStringLiteral("software-ops  软件与运维词库")),
            text.out.constData());
        QVERIFY(QString::fromUtf8(text.out).contains(QStringLiteral("已添加，已停用")));

        // The industry names the same pack; adding it again replaces it.
        const Run again = run({QStringLiteral("import"), QStringLiteral("--bundled"),
                               QStringLiteral("软件与运维"), QStringLiteral("--library"), library});
        QCOMPARE(again.exitCode, 0);
        QVERIFY2(again.out.contains("已更新旧版本"), again.out.constData());
        QVERIFY(!again.out.contains("重名"));
        const Run list = run({QStringLiteral("packs"), QStringLiteral("--json"),
                              QStringLiteral("--library"), library});
        const QJsonArray stored = QJsonDocument::fromJson(list.out).array();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][QStringLiteral("id")].toString(), id);
        QCOMPARE(stored[0][QStringLiteral("isEnabled")].toBool(), false);
        QCOMPARE(stored[0][QStringLiteral("sourceFileName")].toString(),
                 QStringLiteral("software-ops.md"));
    }

    void bundledPackNamesAreChecked()
    {
        const QString library = m_home.filePath(QStringLiteral("never-written.json"));
        const Run unknown = run({QStringLiteral("import"), QStringLiteral("--library"), library,
                                 QStringLiteral("--bundled"), QStringLiteral("legal")});
        QCOMPARE(unknown.exitCode, 1);
        const QString message = QString::fromUtf8(unknown.err);
        QVERIFY2(message.contains(QStringLiteral("“legal”")), unknown.err.constData());
        for (const QString &known : {QStringLiteral("software-ops"), QStringLiteral("职场黑话"),
                                     QStringLiteral("ai-advanced")})
            QVERIFY2(message.contains(known), unknown.err.constData());

        QCOMPARE(run({QStringLiteral("import"), QStringLiteral("--bundled")}).exitCode, 2);
        QCOMPARE(run({QStringLiteral("import"), QStringLiteral("--bundled"),
                      QStringLiteral("software-ops"), QStringLiteral("ai-advanced")})
                     .exitCode,
                 2);
        QCOMPARE(run({QStringLiteral("packs"), QStringLiteral("--bundled"),
                      QStringLiteral("delete"), QStringLiteral("software-ops")})
                     .exitCode,
                 2);
        QVERIFY(!QFileInfo::exists(library));
    }

    void lookupStreamsFromTheStoredService()
    {
        FakeChatServer server;
        QVERIFY(server.listen());
        for (int i = 0; i < 2; ++i)
            server.enqueue(ScriptedResponse::eventStream(
                {pieceLine(QStringLiteral("容器编排工具。")),
                 pieceLine(QStringLiteral("它帮你管很多容器。")), "data: [DONE]"}));

        // A local model over plain http can be saved as it can be used.
        if (!storeKeyFor(server.url().toString()))
            QSKIP("no keyring in this session");

        Run answer =
            run({QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("--dictionary"),
                 m_dictionary, QStringLiteral("Kubernetes")});
        QCOMPARE(answer.exitCode, 0);
        QCOMPARE(answer.err, QByteArray());
        QCOMPARE(answer.json().value(QStringLiteral("origin")).toString(),
                 QStringLiteral("deepSeek"));
        QCOMPARE(answer.json().value(QStringLiteral("explanation")).toString(),
                 QStringLiteral("容器编排工具。它帮你管很多容器。"));
        QCOMPARE(server.requests().size(), 1);
        QCOMPARE(server.requests().first().header("Authorization"),
                 QByteArray("Bearer sk-cli-test"));
        // The key went to the keyring, never into the settings file.
        QFile settings(m_home.filePath(QStringLiteral(".config/Zintaro/Wordlumen.conf")));
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QVERIFY(!settings.readAll().contains("sk-cli-test"));
        QVERIFY(answer.json().value(QStringLiteral("saved")).isNull());

        // Asked again, the answer saved from the same service and style is
        // shown without a request; --no-history asks the service anew.
        const QStringList again{QStringLiteral("lookup"), QStringLiteral("--json"),
                                QStringLiteral("--dictionary"), m_dictionary,
                                QStringLiteral("kubernetes")};
        Run saved = run(again);
        QCOMPARE(saved.exitCode, 0);
        QCOMPARE(saved.json().value(QStringLiteral("explanation")).toString(),
                 QStringLiteral("容器编排工具。它帮你管很多容器。"));
        QVERIFY(saved.json().value(QStringLiteral("saved")).toString().endsWith(u'Z'));
        QCOMPARE(server.requests().size(), 1);
        Run fresh = run(again + QStringList{QStringLiteral("--no-history")});
        QCOMPARE(fresh.exitCode, 0);
        QVERIFY(fresh.json().value(QStringLiteral("saved")).isNull());
        QCOMPARE(server.requests().size(), 2);

        // Offline never asks the service.
        Run offline =
            run({QStringLiteral("lookup"), QStringLiteral("--json"), QStringLiteral("--offline"),
                 QStringLiteral("--dictionary"), m_dictionary, QStringLiteral("Kubernetes")});
        QCOMPARE(offline.exitCode, 1);
        QCOMPARE(server.requests().size(), 2);

        QCOMPARE(run({QStringLiteral("clear-key")}).exitCode, 0);
    }

    void aFailedOnlineAnswerExitsOneAndLeavesOnlyItsMessage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addRow("401") << QStringLiteral("401")
                             << QStringLiteral("API Key 不正确或已经失效，请到设置里重新填写。");
        QTest::addRow("500") << QStringLiteral("500")
                             << QStringLiteral("API 暂时没有回答（错误码 500）。");
        QTest::addRow("broken stream")
            << QStringLiteral("broken") << QStringLiteral("收到的回复缺少必需的字段。");
        QTest::addRow("https, refused")
            << QStringLiteral("refused") << QStringLiteral("API 服务器拒绝了连接。");
        QTest::addRow("https, not TLS")
            << QStringLiteral("tls")
            << QStringLiteral("无法和 API 服务器建立安全连接，证书或加密设置有问题。");
    }
    void aFailedOnlineAnswerExitsOneAndLeavesOnlyItsMessage()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        FakeChatServer server;
        QVERIFY(server.listen());
        NotTlsServer notTls;
        QVERIFY(notTls.listen(QHostAddress::LocalHost));
        QString endpoint = server.url().toString();
        // Each kind is asked twice: shown on the terminal, then as JSON.
        for (int i = 0; i < 2; ++i) {
            if (kind == QLatin1String("401") || kind == QLatin1String("500"))
                server.enqueue(ScriptedResponse::json("{}", kind.toInt()));
            else if (kind == QLatin1String("broken"))
                server.enqueue(ScriptedResponse::eventStream(
                    {pieceLine(QStringLiteral("写了一半")), R"(data: {"error":"overloaded"})"}));
        }
        if (kind == QLatin1String("refused")) {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost));
            endpoint = QStringLiteral("https://127.0.0.1:%1/chat").arg(closed.serverPort());
        } else if (kind == QLatin1String("tls")) {
            endpoint = QStringLiteral("https://127.0.0.1:%1/chat").arg(notTls.serverPort());
        }
        if (!storeKeyFor(endpoint))
            QSKIP("no keyring in this session");

        const QStringList lookup{QStringLiteral("lookup"), QStringLiteral("--dictionary"),
                                 m_dictionary, QStringLiteral("Kubernetes")};
        const Run shown = run(lookup);
        QCOMPARE(shown.exitCode, 1);
        // Only our message: no Qt warnings at exit, no English from the transport.
        QCOMPARE(QString::fromUtf8(shown.err), message + u'\n');

        const Run json = run(QStringList{lookup.first(), QStringLiteral("--json")} + lookup.mid(1));
        QCOMPARE(json.exitCode, 1);
        QCOMPARE(json.err, QByteArray());
        QCOMPARE(json.json().value(QStringLiteral("error")).toString(), message);
        QCOMPARE(run({QStringLiteral("clear-key")}).exitCode, 0);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
