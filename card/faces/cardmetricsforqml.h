#pragma once

#include "cardmodel/cardmetrics.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The answer face's rows (CardMetrics) as QML reads them: the face lays
 * itself out with the numbers the view model sizes the card with.
 */
class CardMetricsForQml : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardMetricsForQml)
    QML_NAMED_ELEMENT(CardMetrics)
    QML_SINGLETON

    Q_PROPERTY(double faceMargin READ faceMargin CONSTANT)
    Q_PROPERTY(double headerRow READ headerRow CONSTANT)
    Q_PROPERTY(double headerGap READ headerGap CONSTANT)
    Q_PROPERTY(double sectionGap READ sectionGap CONSTANT)
    Q_PROPERTY(double titleLine READ titleLine CONSTANT)
    Q_PROPERTY(double sourceGap READ sourceGap CONSTANT)
    Q_PROPERTY(double sourceRow READ sourceRow CONSTANT)
    Q_PROPERTY(double bodyGap READ bodyGap CONSTANT)
    Q_PROPERTY(double textLine READ textLine CONSTANT)
    Q_PROPERTY(double footerGap READ footerGap CONSTANT)
    Q_PROPERTY(double footerRow READ footerRow CONSTANT)
    Q_PROPERTY(double savedRow READ savedRow CONSTANT)
    Q_PROPERTY(double errorGap READ errorGap CONSTANT)
    Q_PROPERTY(double errorLine READ errorLine CONSTANT)
    // The row of the passage's other terms, and the passage view.
    Q_PROPERTY(double passageRowGap READ passageRowGap CONSTANT)
    Q_PROPERTY(double passageRow READ passageRow CONSTANT)
    Q_PROPERTY(double chipPadding READ chipPadding CONSTANT)
    Q_PROPERTY(double chipMaximumWidth READ chipMaximumWidth CONSTANT)
    Q_PROPERTY(double chipSpacing READ chipSpacing CONSTANT)
    Q_PROPERTY(double passageBlockGap READ passageBlockGap CONSTANT)
    Q_PROPERTY(double passageLine READ passageLine CONSTANT)
    Q_PROPERTY(int passageFoldedLines READ passageFoldedLines CONSTANT)
    Q_PROPERTY(double passageAction READ passageAction CONSTANT)
    Q_PROPERTY(double passageTermLine READ passageTermLine CONSTANT)
    Q_PROPERTY(int passageTermLines READ passageTermLines CONSTANT)
    Q_PROPERTY(double passageTermGap READ passageTermGap CONSTANT)

public:
    explicit CardMetricsForQml(QObject *parent = nullptr);
    ~CardMetricsForQml() override;

    [[nodiscard]] static double faceMargin();
    [[nodiscard]] static double headerRow();
    [[nodiscard]] static double headerGap();
    [[nodiscard]] static double sectionGap();
    [[nodiscard]] static double titleLine();
    [[nodiscard]] static double sourceGap();
    [[nodiscard]] static double sourceRow();
    [[nodiscard]] static double bodyGap();
    [[nodiscard]] static double textLine();
    [[nodiscard]] static double footerGap();
    [[nodiscard]] static double footerRow();
    [[nodiscard]] static double savedRow();
    [[nodiscard]] static double errorGap();
    [[nodiscard]] static double errorLine();
    [[nodiscard]] static double passageRowGap() { return CardMetrics::kPassageRowGap; }
    [[nodiscard]] static double passageRow() { return CardMetrics::kPassageRow; }
    [[nodiscard]] static double chipPadding() { return CardMetrics::kChipPadding; }
    [[nodiscard]] static double chipMaximumWidth() { return CardMetrics::kChipMaximumWidth; }
    [[nodiscard]] static double chipSpacing() { return CardMetrics::kChipSpacing; }
    [[nodiscard]] static double passageBlockGap() { return CardMetrics::kPassageBlockGap; }
    [[nodiscard]] static double passageLine() { return CardMetrics::kPassageLine; }
    [[nodiscard]] static int passageFoldedLines() { return CardMetrics::kPassageFoldedLines; }
    [[nodiscard]] static double passageAction() { return CardMetrics::kPassageAction; }
    [[nodiscard]] static double passageTermLine() { return CardMetrics::kPassageTermLine; }
    [[nodiscard]] static int passageTermLines() { return CardMetrics::kPassageTermLines; }
    [[nodiscard]] static double passageTermGap() { return CardMetrics::kPassageTermGap; }
};

} // namespace wordlumen
