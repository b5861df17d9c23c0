#include "core/watchedfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

using namespace wordlumen;
using namespace std::chrono_literals;

namespace {

constexpr auto kSettle = 100ms;

// Writes into the file itself, as an editor that saves in place does.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size();
}

// Writes a new file and renames it over the old one, as QSettings and QSaveFile do.
bool replaceByRename(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// Long enough past a burst for a second, wrong signal to have come.
void waitPastSettling()
{
    QTest::qWait(int(kSettle.count()) * 4);
}

} // namespace

class WatchedFileTest : public QObject
{
    Q_OBJECT

private:
    QScopedPointer<QTemporaryDir> m_dir;

    QString path(const QString &relative) const { return m_dir->filePath(relative); }

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    // Renaming a new file over the watched one ends the watch on the old
    // file; a write into the new one afterwards must still be heard.
    void followsAFileReplacedByRenaming()
    {
        const QString file = path(QStringLiteral("settings.conf"));
        QVERIFY(writeInPlace(file, "a"));
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::WaitFor);
        QSignalSpy changes(&watched, &WatchedFile::changed);

        QVERIFY(replaceByRename(file, "b"));
        QTRY_COMPARE(changes.count(), 1);
        QVERIFY(watched.watchedPaths().contains(file));

        // Only the file's own watch hears a write that leaves the folder's entries alone.
        QVERIFY(writeInPlace(file, "c"));
        QTRY_COMPARE(changes.count(), 2);
        QVERIFY(replaceByRename(file, "d"));
        QTRY_COMPARE(changes.count(), 3);
        QVERIFY(writeInPlace(file, "e"));
        QTRY_COMPARE(changes.count(), 4);
    }

    void followsAFileCreatedAfterTheWatchStarted()
    {
        const QString file = path(QStringLiteral("MyGlossary.json"));
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::WaitFor);
        QCOMPARE(watched.watchedPaths(), QStringList{m_dir->path()});
        QSignalSpy changes(&watched, &WatchedFile::changed);

        QVERIFY(writeInPlace(file, "a"));
        QTRY_COMPARE(changes.count(), 1);
        QVERIFY(watched.watchedPaths().contains(file));
        QVERIFY(writeInPlace(file, "b"));
        QTRY_COMPARE(changes.count(), 2);
    }

    // The first writer may be another program, which finds the folder ready.
    void makesAMissingFolderWhenAsked()
    {
        const QString folder = path(QStringLiteral("config/Zintaro"));
        const QString file = folder + QStringLiteral("/Wordlumen.conf");
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::Create);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(watched.watchedPaths(), QStringList{folder});
        QSignalSpy changes(&watched, &WatchedFile::changed);

        QVERIFY(replaceByRename(file, "a"));
        QTRY_COMPARE(changes.count(), 1);
        QVERIFY(writeInPlace(file, "b"));
        QTRY_COMPARE(changes.count(), 2);
    }

    // Folders made one at a time, then the file: each step is followed down
    // without making anything on the watcher's side.
    void waitsForAMissingFolder()
    {
        const QString folder = path(QStringLiteral("data/Zintaro"));
        const QString file = folder + QStringLiteral("/MyGlossary.json");
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::WaitFor);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("data"))));
        QCOMPARE(watched.watchedPaths(), QStringList{m_dir->path()});
        QSignalSpy changes(&watched, &WatchedFile::changed);

        QVERIFY(QDir().mkdir(path(QStringLiteral("data"))));
        QTRY_COMPARE(changes.count(), 1);
        QCOMPARE(watched.watchedPaths(), QStringList{path(QStringLiteral("data"))});
        QVERIFY(QDir().mkdir(folder));
        QTRY_COMPARE(changes.count(), 2);
        QCOMPARE(watched.watchedPaths(), QStringList{folder});
        QVERIFY(replaceByRename(file, "a"));
        QTRY_COMPARE(changes.count(), 3);
        QVERIFY(writeInPlace(file, "b"));
        QTRY_COMPARE(changes.count(), 4);

        // A folder removed with its file is waited for again.
        QVERIFY(QDir(path(QStringLiteral("data"))).removeRecursively());
        QTRY_COMPARE(watched.watchedPaths(), QStringList{m_dir->path()});
        const qsizetype afterRemoval = changes.count();
        QVERIFY(QDir().mkpath(folder));
        QTRY_VERIFY(changes.count() > afterRemoval);
        QTRY_COMPARE(watched.watchedPaths(), QStringList{folder});
    }

    // A writer's steps (temporary file, rename, lock file) and a quick
    // series of saves come as one signal, a settle interval after the last.
    void aBurstOfWritesIsOneSignal()
    {
        const QString file = path(QStringLiteral("MyGlossary.json"));
        QVERIFY(writeInPlace(file, "0"));
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::WaitFor);
        QSignalSpy changes(&watched, &WatchedFile::changed);

        for (int i = 0; i < 10; ++i) {
            QVERIFY(writeInPlace(file + QStringLiteral(".lock"), "1"));
            QVERIFY(replaceByRename(file, QByteArray::number(i)));
            QVERIFY(QFile::remove(file + QStringLiteral(".lock")));
            QVERIFY(writeInPlace(file, "+"));
        }
        QElapsedTimer sinceLastWrite;
        sinceLastWrite.start();
        QTRY_COMPARE(changes.count(), 1);
        // Qt's coarse timers may fire up to 5 % early.
        QVERIFY2(sinceLastWrite.elapsed() >= kSettle.count() * 95 / 100,
                 qPrintable(QString::number(sinceLastWrite.elapsed())));
        waitPastSettling();
        QCOMPARE(changes.count(), 1);
    }

    void hearsRemovalAndTheFileComingBack()
    {
        const QString file = path(QStringLiteral("MyGlossary.json"));
        QVERIFY(writeInPlace(file, "a"));
        WatchedFile watched(file, kSettle, WatchedFile::MissingFolder::WaitFor);
        QSignalSpy changes(&watched, &WatchedFile::changed);

        QVERIFY(QFile::remove(file));
        QTRY_COMPARE(changes.count(), 1);
        waitPastSettling();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(watched.watchedPaths(), QStringList{m_dir->path()});

        QVERIFY(writeInPlace(file, "b"));
        QTRY_COMPARE(changes.count(), 2);
        QVERIFY(writeInPlace(file, "c"));
        QTRY_COMPARE(changes.count(), 3);
    }
};

QTEST_GUILESS_MAIN(WatchedFileTest)
#include "tst_watchedfile.moc"
