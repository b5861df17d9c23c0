// One Wordlumen per session: a later launch reaches the first and hands it its
// request whole (text with spaces, line breaks and any script), sessions with
// different runtime folders do not meet, and what arrives on the socket is
// only taken for a request when it is one. Everything runs twice: over this
// system's channel and over the plain local socket a port without one uses,
// which must never take a live instance's socket away.

#include "app/shell/launchrequest.h"
#include "app/shell/singleinstance.h"
#include "desktop/desktopservices.h"
#include "desktop/generic/localsocketchannel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;
using Action = LaunchRequest::Action;

namespace wordlumen {
// How QCOMPARE prints a request that differs.
char *toString(const LaunchRequest &request)
{
    return qstrdup(request.encode().trimmed().constData());
}
} // namespace wordlumen

namespace {

const QString kKey = QStringLiteral("com.zintaro.WordlumenTest");

/// Whether this run goes over the plain local socket instead of the system's channel.
bool g_fallback = false;

std::unique_ptr<InstanceChannel> channel()
{
    if (g_fallback)
        return std::make_unique<LocalSocketChannel>();
    return DesktopServices::makeInstanceChannel();
}

LaunchRequest received(const QSignalSpy &spy, qsizetype index)
{
    return spy.at(index).at(0).value<LaunchRequest>();
}

/// Writes `bytes` to the running instance as a foreign program might, in `pieces`.
void sendRaw(const QString &name, const QList<QByteArray> &pieces)
{
    QLocalSocket socket;
    channel()->prepareClient(socket);
    socket.connectToServer(name);
    QVERIFY(socket.waitForConnected(1000));
    for (const QByteArray &piece : pieces) {
        socket.write(piece);
        QVERIFY(socket.waitForBytesWritten(1000));
        QTest::qWait(20);
    }
    socket.disconnectFromServer();
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        qRegisterMetaType<LaunchRequest>();
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void requestsSurviveTheChannel_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("text");
        QTest::addRow("open") << Action::Open << QString();
        QTest::addRow("toggle") << Action::Toggle << QString();
        QTest::addRow("selection") << Action::Selection << QString();
        QTest::addRow("settings") << Action::Settings << QString();
        QTest::addRow("background") << Action::Background << QString();
        QTest::addRow("lookup") << Action::Lookup << QStringLiteral("RAG");
        QTest::addRow("lookup with spaces and dashes")
            << Action::Lookup << QStringLiteral("--help me  with RAG ");
        QTest::addRow("lookup over lines")
            << Action::Lookup
            << QStringLiteral("第一行\n第二行\r\n\"引号\" \\ 👩🏽‍💻");
    }

    void requestsSurviveTheChannel()
    {
        QFETCH(Action, action);
        QFETCH(QString, text);
        const LaunchRequest request{action, text};

        QCOMPARE(LaunchRequest::decode(request.encode()), request);
        QCOMPARE(request.encode().count('\n'), 1); // one line, whatever the text holds

        SingleInstance first(kKey, channel());
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        SingleInstance second(kKey, channel());
        QVERIFY(!second.claim(request));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0), request);
    }

    void eachLaunchIsHeardOnce()
    {
        SingleInstance first(kKey, channel());
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(SingleInstance(kKey, channel()).deliver({Action::Lookup, QString::number(i)}));
        }
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(received(spy, 2).text, QStringLiteral("2"));
    }

    void aRequestInPiecesIsOneRequest()
    {
        SingleInstance first(kKey, channel());
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        const QByteArray line = LaunchRequest{Action::Lookup, QStringLiteral("检索增强")}.encode();
        sendRaw(first.socketName(), {line.left(5), line.mid(5, 9), line.mid(14)});
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0).text, QStringLiteral("检索增强"));
    }

    void whatIsNoRequestIsIgnored()
    {
        SingleInstance first(kKey, channel());
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        sendRaw(first.socketName(), {"{\"action\":\"format-disk\"}\n"});
        sendRaw(first.socketName(), {"{\"action\":\"lookup\"}\n"}); // a lookup without its text
        sendRaw(first.socketName(), {"not json\n"});
        sendRaw(first.socketName(), {QByteArray(SingleInstance::kMaximumRequestBytes + 10, 'x')});
        // The channel still works afterwards.
        QVERIFY(SingleInstance(kKey, channel()).deliver({Action::Toggle, {}}));
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0), (LaunchRequest{Action::Toggle, {}}));

        // What an earlier version of the program sends still shows the card.
        QCOMPARE(LaunchRequest::decode("reopen\n"), LaunchRequest{});
    }

    void withoutARunningInstanceNothingIsDelivered()
    {
        QVERIFY(!SingleInstance(kKey, channel()).deliver({Action::Toggle, {}}));
    }

    void theNameIsFreeAgainOnceTheFirstIsGone()
    {
        {
            SingleInstance first(kKey, channel());
            QVERIFY(first.claim());
        }
        SingleInstance next(kKey, channel());
        QVERIFY(next.claim());
    }

    void anotherSessionHasItsOwnInstance()
    {
        SingleInstance here(kKey, channel());
        QVERIFY(here.claim());
        QTemporaryDir otherRuntime;
        qputenv("XDG_RUNTIME_DIR", otherRuntime.path().toLocal8Bit());
        QFile::setPermissions(otherRuntime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SingleInstance there(kKey, channel());
        QVERIFY(there.claim());
        QVERIFY(here.socketName() != there.socketName());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }

    // The plain local socket leaves a file behind when a program dies, and a
    // file in the way is taken over only when nobody answers on it.

    void aLiveInstanceKeepsItsSocket()
    {
        SingleInstance first(kKey, channel());
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        // A second program that tries to listen under the same name gives up.
        QLocalServer intruder;
        QVERIFY(!channel()->listen(intruder, first.socketName()));
        SingleInstance second(kKey, channel());
        QVERIFY(!second.claim({Action::Toggle, {}}));
        QVERIFY(SingleInstance(kKey, channel()).deliver({Action::Settings, {}}));
        QTRY_COMPARE(spy.count(), 2);
    }

    void aFileLeftByACrashIsTakenOver()
    {
        if (!g_fallback)
            QSKIP("only the plain local socket leaves a file behind");
        QLocalServer probe;
        probe.listen(QStringLiteral("wordlumen-probe-%1").arg(QCoreApplication::applicationPid()));
        const QString folder = QFileInfo(probe.fullServerName()).absolutePath();
        probe.close();
        // What a killed instance leaves: its socket's path, with nobody on it.
        SingleInstance stale(kKey, channel());
        QFile left(QDir(folder).filePath(stale.socketName()));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.close();

        SingleInstance next(kKey, channel());
        QVERIFY(next.claim());
        QSignalSpy spy(&next, &SingleInstance::requestReceived);
        QVERIFY(SingleInstance(kKey, channel()).deliver({Action::Toggle, {}}));
        QTRY_COMPARE(spy.count(), 1);
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    SingleInstanceTest test;
    int failures = QTest::qExec(&test, argc, argv);
    g_fallback = true;
    failures += QTest::qExec(&test, argc, argv);
    return failures;
}
#include "tst_singleinstance.moc"
