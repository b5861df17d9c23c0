#include "cardmetricsforqml.h"

#include "cardmodel/cardmetrics.h"

namespace wordlumen {

CardMetricsForQml::CardMetricsForQml(QObject *parent)
    : QObject(parent)
{}

CardMetricsForQml::~CardMetricsForQml() = default;

double CardMetricsForQml::faceMargin()
{
    return CardMetrics::kFaceMargin;
}

double CardMetricsForQml::headerRow()
{
    return CardMetrics::kHeaderRow;
}

double CardMetricsForQml::headerGap()
{
    return CardMetrics::kHeaderGap;
}

double CardMetricsForQml::sectionGap()
{
    return CardMetrics::kSectionGap;
}

double CardMetricsForQml::titleLine()
{
    return CardMetrics::kTitleLine;
}

double CardMetricsForQml::sourceGap()
{
    return CardMetrics::kSourceGap;
}

double CardMetricsForQml::sourceRow()
{
    return CardMetrics::kSourceRow;
}

double CardMetricsForQml::bodyGap()
{
    return CardMetrics::kBodyGap;
}

double CardMetricsForQml::textLine()
{
    return CardMetrics::kTextLine;
}

double CardMetricsForQml::footerGap()
{
    return CardMetrics::kFooterGap;
}

double CardMetricsForQml::footerRow()
{
    return CardMetrics::kFooterRow;
}

double CardMetricsForQml::savedRow()
{
    return CardMetrics::kSavedRow;
}

double CardMetricsForQml::errorGap()
{
    return CardMetrics::kErrorGap;
}

double CardMetricsForQml::errorLine()
{
    return CardMetrics::kErrorLine;
}

} // namespace wordlumen
