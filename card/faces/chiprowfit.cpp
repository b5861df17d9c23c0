#include "chiprowfit.h"

#include "cardmodel/cardmetrics.h"
#include "cardmodel/chipfit.h"

#include <QFontMetricsF>

#include <cmath>

namespace wordlumen {

namespace {

QString trailingLabelFor(qsizetype hidden)
{
    return hidden > 0 ? QStringLiteral("+%1").arg(hidden) : QStringLiteral("全部");
}

} // namespace

ChipRowFit::ChipRowFit(QObject *parent)
    : QObject(parent)
{}

ChipRowFit::~ChipRowFit() = default;

void ChipRowFit::setLabels(const QStringList &labels)
{
    if (labels == m_labels)
        return;
    m_labels = labels;
    emit inputsChanged();
    update();
}

void ChipRowFit::setFont(const QFont &font)
{
    if (font == m_font)
        return;
    m_font = font;
    emit inputsChanged();
    update();
}

void ChipRowFit::setAvailableWidth(double width)
{
    if (qFuzzyCompare(width, m_availableWidth))
        return;
    m_availableWidth = width;
    emit inputsChanged();
    update();
}

QString ChipRowFit::trailingLabel() const
{
    return trailingLabelFor(m_hidden);
}

QString ChipRowFit::trailingName() const
{
    const int hidden = m_hidden;
    return hidden > 0 ? QStringLiteral("还有 %1 个，查看这段话里的全部黑话").arg(hidden)
                      : QStringLiteral("查看这段话里的全部黑话");
}

double ChipRowFit::chipWidth(const QFont &font, const QString &label)
{
    // Rounded up, as the text's own width is, so a chip never comes out wider than counted.
    const double text = std::ceil(QFontMetricsF(font).horizontalAdvance(label));
    return std::min(text + CardMetrics::kChipPadding, CardMetrics::kChipMaximumWidth);
}

void ChipRowFit::update()
{
    QList<double> widths;
    widths.reserve(m_labels.size());
    for (const QString &label : std::as_const(m_labels))
        widths.append(chipWidth(m_font, label));
    const int shown = int(ChipFit::shownCount(
        widths, m_availableWidth, CardMetrics::kChipSpacing,
        [this](qsizetype hidden) { return chipWidth(m_font, trailingLabelFor(hidden)); }));
    const int hidden = int(m_labels.size()) - shown;
    if (shown == m_shown && hidden == m_hidden)
        return;
    m_shown = shown;
    m_hidden = hidden;
    emit resultChanged();
}

} // namespace wordlumen
