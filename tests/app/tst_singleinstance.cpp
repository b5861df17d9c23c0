// One Wordlumen per session: a second launch reaches the first and asks it to
// show the card, and sessions with different runtime folders do not meet.

#include "app/singleinstance.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace wordlumen;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_runtime;

private slots:
    void initTestCase()
    {
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
        QFile::setPermissions(m_runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aSecondLaunchAsksTheFirstToReopen()
    {
        SingleInstance first(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(first.claim());
        QSignalSpy reopened(&first, &SingleInstance::reopenRequested);

        SingleInstance second(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(!second.claim());
        QTRY_COMPARE(reopened.count(), 1);

        SingleInstance third(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(!third.claim());
        QTRY_COMPARE(reopened.count(), 2);
    }

    void theNameIsFreeAgainOnceTheFirstIsGone()
    {
        {
            SingleInstance first(QStringLiteral("com.zintaro.WordlumenTest"));
            QVERIFY(first.claim());
        }
        SingleInstance next(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(next.claim());
    }

    void anotherSessionHasItsOwnInstance()
    {
        SingleInstance here(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(here.claim());
        QTemporaryDir otherRuntime;
        qputenv("XDG_RUNTIME_DIR", otherRuntime.path().toLocal8Bit());
        QFile::setPermissions(otherRuntime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SingleInstance there(QStringLiteral("com.zintaro.WordlumenTest"));
        QVERIFY(there.claim());
        QVERIFY(here.socketName() != there.socketName());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "tst_singleinstance.moc"
