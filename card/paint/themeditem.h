#pragma once

#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * A painted item that redraws whenever the theme changes (scheme, motion,
 * transparency). The card's decorations are drawn with QPainter so that every
 * Qt Quick renderer, the software one included, shows them the same.
 */
class ThemedItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ThemedItem)
    QML_ANONYMOUS

public:
    explicit ThemedItem(QQuickItem *parent = nullptr);
    ~ThemedItem() override;

protected:
    /// Updates a property's value and repaints when it changed.
    template<typename T>
    bool assign(T &member, const T &value)
    {
        if (member == value) {
            return false;
        }
        member = value;
        update();
        return true;
    }
    [[nodiscard]] double devicePixelRatio() const;
};

} // namespace wordlumen
