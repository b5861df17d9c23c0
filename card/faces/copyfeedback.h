#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * Copies the explanation to the clipboard as plain text and shows a checkmark
 * for 1.2 seconds. Each copy schedules its own reset.
 */
class CopyFeedback : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CopyFeedback)
    QML_ELEMENT
    Q_PROPERTY(bool didCopy READ didCopy NOTIFY didCopyChanged)

public:
    static constexpr int kFeedbackMilliseconds = 1200;

    explicit CopyFeedback(QObject *parent = nullptr);
    ~CopyFeedback() override;

    [[nodiscard]] bool didCopy() const { return m_didCopy; }

    /// Puts `text` on the clipboard; an empty text does nothing.
    Q_INVOKABLE void copy(const QString &text);

signals:
    void didCopyChanged();

private:
    void setDidCopy(bool didCopy);

    bool m_didCopy = false;
};

} // namespace wordlumen
