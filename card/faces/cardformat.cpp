#include "cardformat.h"

#include "cardflip.h"
#include "cardmodel/cardmetrics.h"

namespace wordlumen {

CardFormat::CardFormat(QObject *parent)
    : QObject(parent)
{}

CardFormat::~CardFormat() = default;

QString CardFormat::originLabel(ExplanationOrigin origin)
{
    QString label;
    switch (origin) {
    case ExplanationOrigin::Local:
        label = QStringLiteral("本地词典 · 无需 API");
        break;
    case ExplanationOrigin::Custom:
        label = QStringLiteral("行业补充包 · 无需 API");
        break;
    case ExplanationOrigin::DeepSeek:
        label = QStringLiteral("在线 API · 灵活解释");
        break;
    case ExplanationOrigin::Unavailable:
        label = QStringLiteral("未收录");
        break;
    }
    // Only Latin letters change; Chinese has no case.
    for (QChar &c : label) {
        if (c.unicode() < 0x80 && c.isLower()) {
            c = c.toUpper();
        }
    }
    return label;
}

bool CardFormat::originIsNotice(ExplanationOrigin origin)
{
    return origin == ExplanationOrigin::Unavailable;
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
    return QStringLiteral("<p style=\"line-height:%1px; margin:0\">%2</p>")
        .arg(CardMetrics::kTextLine)
        .arg(html);
}

} // namespace wordlumen
