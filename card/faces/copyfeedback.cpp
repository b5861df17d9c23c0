#include "copyfeedback.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>

namespace wordlumen {

CopyFeedback::CopyFeedback(QObject *parent)
    : QObject(parent)
{}

CopyFeedback::~CopyFeedback() = default;

void CopyFeedback::copy(const QString &text)
{
    if (text.isEmpty()) {
        return;
    }
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
    setDidCopy(true);
    QTimer::singleShot(kFeedbackMilliseconds, this, [this] { setDidCopy(false); });
}

void CopyFeedback::setDidCopy(bool didCopy)
{
    if (m_didCopy == didCopy) {
        return;
    }
    m_didCopy = didCopy;
    emit didCopyChanged();
}

} // namespace wordlumen
