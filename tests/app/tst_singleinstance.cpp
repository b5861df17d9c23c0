// One Wordlumen per session: a later launch reaches the first and hands it its
// request whole (text with spaces, line breaks and any script), sessions with
// different runtime folders do not meet, and what arrives on the socket is
// only taken for a request when it is one.

#include "app/launchrequest.h"
#include "app/singleinstance.h"

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

LaunchRequest received(const QSignalSpy &spy, qsizetype index)
{
    return spy.at(index).at(0).value<LaunchRequest>();
}

/// Writes `bytes` to the running instance as a foreign program might, in `pieces`.
void sendRaw(const QString &name, const QList<QByteArray> &pieces)
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
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

        SingleInstance first(kKey);
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        SingleInstance second(kKey);
        QVERIFY(!second.claim(request));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0), request);
    }

    void eachLaunchIsHeardOnce()
    {
        SingleInstance first(kKey);
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(SingleInstance(kKey).deliver({Action::Lookup, QString::number(i)}));
        }
        QTRY_COMPARE(spy.count(), 3);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 3);
        QCOMPARE(received(spy, 2).text, QStringLiteral("2"));
    }

    void aRequestInPiecesIsOneRequest()
    {
        SingleInstance first(kKey);
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        const QByteArray line = LaunchRequest{Action::Lookup, QStringLiteral("检索增强")}.encode();
        sendRaw(first.socketName(), {line.left(5), line.mid(5, 9), line.mid(14)});
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0).text, QStringLiteral("检索增强"));
    }

    void whatIsNoRequestIsIgnored()
    {
        SingleInstance first(kKey);
        QVERIFY(first.claim());
        QSignalSpy spy(&first, &SingleInstance::requestReceived);
        sendRaw(first.socketName(), {"{\"action\":\"format-disk\"}\n"});
        sendRaw(first.socketName(), {"{\"action\":\"lookup\"}\n"}); // a lookup without its text
        sendRaw(first.socketName(), {"not json\n"});
        sendRaw(first.socketName(), {QByteArray(SingleInstance::kMaximumRequestBytes + 10, 'x')});
        // The channel still works afterwards.
        QVERIFY(SingleInstance(kKey).deliver({Action::Toggle, {}}));
        QTRY_COMPARE(spy.count(), 1);
        QTest::qWait(50);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(received(spy, 0), (LaunchRequest{Action::Toggle, {}}));

        // What an earlier version of the program sends still shows the card.
        QCOMPARE(LaunchRequest::decode("reopen\n"), LaunchRequest{});
    }

    void withoutARunningInstanceNothingIsDelivered()
    {
        QVERIFY(!SingleInstance(kKey).deliver({Action::Toggle, {}}));
    }

    void theNameIsFreeAgainOnceTheFirstIsGone()
    {
        {
            SingleInstance first(kKey);
            QVERIFY(first.claim());
        }
        SingleInstance next(kKey);
        QVERIFY(next.claim());
    }

    void anotherSessionHasItsOwnInstance()
    {
        SingleInstance here(kKey);
        QVERIFY(here.claim());
        QTemporaryDir otherRuntime;
        qputenv("XDG_RUNTIME_DIR", otherRuntime.path().toLocal8Bit());
        QFile::setPermissions(otherRuntime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SingleInstance there(kKey);
        QVERIFY(there.claim());
        QVERIFY(here.socketName() != there.socketName());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
