#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * When a scrolling area of either window scrolls and shows its scroll bar:
 * the card's answer and the control center's pages follow one rule.
 */
class Scrolling : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Scrolling)
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit Scrolling(QObject *parent = nullptr);
    ~Scrolling() override;

    /**
     * Whether content this tall scrolls in an area this tall. An overflow of
     * a few points hides only the spacing under the last line; it neither
     * scrolls nor shows a scroll bar.
     */
    Q_INVOKABLE [[nodiscard]] static bool scrolls(double contentHeight, double areaHeight);
};

} // namespace wordlumen
