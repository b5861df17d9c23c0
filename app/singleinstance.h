#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace wordlumen {

/**
 * Keeps Wordlumen to one process per user session. The first process listens
 * on a local socket; a later launch finds it, asks it to show the card again
 * and ends. On Linux the socket lives in the abstract namespace, so a crash
 * leaves nothing stale behind.
 */
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    /// `key` names the socket; it is scoped to the user's runtime directory.
    explicit SingleInstance(const QString &key, QObject *parent = nullptr);
    ~SingleInstance() override;

    /**
     * Becomes the running instance, or, when another one answers, asks it to
     * re-show and returns false (the caller then exits).
     */
    [[nodiscard]] bool claim();

    [[nodiscard]] QString socketName() const { return m_name; }

signals:
    /// Another launch asked the running instance to show itself.
    void reopenRequested();

private:
    [[nodiscard]] bool notifyRunning() const;

    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace wordlumen
