#include "selectiontext.h"

#include "textmetrics.h"

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

} // namespace wordlumen::SelectionText
