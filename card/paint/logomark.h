#pragma once

#include "themeditem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The square logo glyph (WordlumenLogoMark): a dark tile, a slightly turned
 * paper sheet with two bars, and an accent mark in the tile's corner. Its
 * colours are the same in both schemes. Decoration only.
 */
class WordlumenLogoMark : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WordlumenLogoMark)
    QML_ELEMENT

public:
    explicit WordlumenLogoMark(QQuickItem *parent = nullptr);
    ~WordlumenLogoMark() override;

    void paint(QPainter *painter) override;

    /// Draws the mark centred in `area` (also the application and tray icon).
    static void paintMark(QPainter *painter, const QRectF &area);
};

} // namespace wordlumen
