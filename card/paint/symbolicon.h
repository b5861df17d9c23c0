#pragma once

#include "themeditem.h"

#include <QColor>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The card's symbols: the names the faces use (SF-Symbols-style, such as
 * "chevron.down") mapped onto Lucide line icons shipped in the resources,
 * drawn as vectors in any colour at any size. Names ending in ".fill" draw a
 * filled circle in the colour with the glyph cut out in white, or, for a
 * glyph without a circle (the star), the glyph filled.
 */
class SymbolIcon : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SymbolIcon)
    QML_ELEMENT
    Q_PROPERTY(QString symbol READ symbol WRITE setSymbol NOTIFY symbolChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    /// Line weight in Lucide's 24-unit grid (2 is Lucide's regular).
    Q_PROPERTY(double strokeWidth READ strokeWidth WRITE setStrokeWidth NOTIFY strokeWidthChanged)

public:
    explicit SymbolIcon(QQuickItem *parent = nullptr);
    ~SymbolIcon() override;

    /// The Lucide file name for a symbol name; empty when the symbol is unknown.
    [[nodiscard]] static QString lucideName(const QString &symbol);
    /// The SVG source for a symbol in a colour, ready for QSvgRenderer; empty when unknown.
    [[nodiscard]] static QByteArray tintedSvg(const QString &symbol, const QColor &color,
                                              double strokeWidth);

    [[nodiscard]] QString symbol() const { return m_symbol; }
    void setSymbol(const QString &symbol);
    [[nodiscard]] QColor color() const { return m_color; }
    void setColor(const QColor &color);
    [[nodiscard]] double strokeWidth() const { return m_strokeWidth; }
    void setStrokeWidth(double width);

    void paint(QPainter *painter) override;

signals:
    void symbolChanged();
    void colorChanged();
    void strokeWidthChanged();

private:
    QString m_symbol;
    QColor m_color = Qt::black;
    double m_strokeWidth = 2;
};

} // namespace wordlumen
