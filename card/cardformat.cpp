#include "cardformat.h"

#include "cardflip.h"

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

QString CardFormat::answerHtml(const QString &text)
{
    // Lines 24 points apart: the 13.5-point text with 7 points between lines,
    // the same pitch the view model counts when it sizes the card.
    QString html = text.toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<p style=\"line-height:24px; margin:0\">%1</p>").arg(html);
}

} // namespace wordlumen
