#include "cardformat.h"

#include "cardflip.h"

#include <QQuickTextDocument>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace wordlumen {

CardFormat::CardFormat(QObject *parent)
    : QObject(parent)
{}

CardFormat::~CardFormat() = default;

QString CardFormat::originLabel(const QString &origin)
{
    QString label;
    if (origin == u"local") {
        label = QStringLiteral("本地词典 · 无需 API");
    } else if (origin == u"custom") {
        label = QStringLiteral("行业补充包 · 无需 API");
    } else if (origin == u"deepSeek") {
        label = QStringLiteral("在线 API · 灵活解释");
    } else {
        label = QStringLiteral("未收录");
    }
    // Only Latin letters change; Chinese has no case.
    for (QChar &c : label) {
        if (c.unicode() < 0x80 && c.isLower()) {
            c = c.toUpper();
        }
    }
    return label;
}

bool CardFormat::originIsNotice(const QString &origin)
{
    return origin == u"unavailable";
}

QMatrix4x4 CardFormat::flipMatrix(double radians, double width, double height)
{
    return cardFlipTransform(radians, QSizeF(width, height));
}

void CardFormat::setLineSpacing(QQuickTextDocument *document, double spacing)
{
    if (!document || !document->textDocument()) {
        return;
    }
    QTextCursor cursor(document->textDocument());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(spacing, QTextBlockFormat::LineDistanceHeight);
    cursor.mergeBlockFormat(format);
}

} // namespace wordlumen
