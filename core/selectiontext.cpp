#include "selectiontext.h"

#include "core/textmetrics.h"

#include <QClipboard>
#include <QRegularExpression>

namespace wordlumen::SelectionText {

QString normalised(QStringView text)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    QString flat = text.toString();
    flat.replace(whiteSpace, QStringLiteral(" "));
    return TextMetrics::trimmed(
        TextMetrics::leftGraphemes(TextMetrics::trimmed(flat), kMaximumGraphemes));
}

QString fromClipboard(const QClipboard &clipboard)
{
    if (clipboard.supportsSelection()) {
        if (QString selected = normalised(clipboard.text(QClipboard::Selection));
            !selected.isEmpty()) {
            return selected;
        }
    }
    return normalised(clipboard.text(QClipboard::Clipboard));
}

} // namespace wordlumen::SelectionText
