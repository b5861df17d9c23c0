#include "chipfit.h"

namespace wordlumen::ChipFit {

qsizetype shownCount(const QList<double> &widths, double available, double spacing,
                     const std::function<double(qsizetype hidden)> &trailingWidth)
{
    const qsizetype count = widths.size();
    double used = 0; // the first k chips, each with the spacing after it
    qsizetype shown = 0;
    for (qsizetype k = 0; k <= count; ++k) {
        if (used + trailingWidth(count - k) <= available)
            shown = k;
        if (k < count)
            used += widths[k] + spacing;
    }
    return shown;
}

} // namespace wordlumen::ChipFit
