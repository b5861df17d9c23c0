#include "clipboardselection.h"

#include <QClipboard>
#include <QGuiApplication>

namespace wordlumen {

QString ClipboardSelection::selectedText() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        return {};
    }
    if (clipboard->supportsSelection()) {
        if (QString selected = clipboard->text(QClipboard::Selection);
            !selected.trimmed().isEmpty()) {
            return selected;
        }
    }
    return clipboard->text(QClipboard::Clipboard);
}

} // namespace wordlumen
