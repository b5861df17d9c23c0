#include "scrolling.h"

namespace wordlumen {

Scrolling::Scrolling(QObject *parent)
    : QObject(parent)
{}

Scrolling::~Scrolling() = default;

bool Scrolling::scrolls(double contentHeight, double areaHeight)
{
    // Lines are 24 points apart for 13.5-point text: at least 3 points of
    // each line's spacing lie under its glyphs.
    constexpr double kSlack = 3;
    return contentHeight > areaHeight + kSlack;
}

} // namespace wordlumen
