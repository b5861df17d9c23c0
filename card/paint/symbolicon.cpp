#include "symbolicon.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace wordlumen {

namespace {

struct SymbolMapping
{
    const char *symbol;
    const char *lucide;
};

// The one table from the symbol names the card speaks to Lucide's files. The
// build copies exactly these files (card/CMakeLists.txt) into the resources.
constexpr SymbolMapping kSymbols[] = {
    {"gearshape", "settings"},
    {"chevron.down", "chevron-down"},
    {"chevron.left", "chevron-left"},
    {"square.on.square", "copy"},
    {"checkmark", "check"},
    {"shuffle", "shuffle"},
    {"arrow.uturn.backward", "undo-2"},
    {"arrow.up.right", "arrow-up-right"},
    {"xmark", "x"},
    {"checkmark.circle.fill", "circle-check"},
    {"exclamationmark.circle.fill", "circle-alert"},
    {"star", "star"},
    {"star.fill", "star"},
    {"arrow.clockwise", "rotate-cw"},
    {"sparkles", "sparkles"},
    // The control center's.
    {"rectangle.on.rectangle", "square-stack"},
    {"text.book.closed", "book-text"},
    {"bolt.horizontal.circle", "zap"},
    {"switch.2", "toggle-right"},
    {"macwindow", "app-window"},
    {"shippingbox", "package"},
    {"books.vertical", "library-big"},
    {"arrow.down.doc", "file-down"},
    {"arrow.triangle.branch", "git-branch"},
    {"network", "network"},
    {"text.alignleft", "align-left"},
    {"trash", "trash-2"},
    {"circle", "circle"},
    {"minus", "minus"},
    {"keyboard", "keyboard"},
    {"clock.arrow.circlepath", "history"},
    {"magnifyingglass", "search"},
    {"square.and.arrow.up", "download"},
};

QByteArray lucideSource(const QString &name)
{
    static QHash<QString, QByteArray> cache;
    auto it = cache.constFind(name);
    if (it == cache.constEnd()) {
        QFile file(QStringLiteral(":/icons/lucide/%1.svg").arg(name));
        it = cache.insert(name, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    return *it;
}

} // namespace

SymbolIcon::SymbolIcon(QQuickItem *parent)
    : ThemedItem(parent)
{}

SymbolIcon::~SymbolIcon() = default;

QString SymbolIcon::lucideName(const QString &symbol)
{
    for (const auto &mapping : kSymbols) {
        if (symbol == QLatin1StringView(mapping.symbol)) {
            return QLatin1StringView(mapping.lucide);
        }
    }
    return {};
}

QByteArray SymbolIcon::tintedSvg(const QString &symbol, const QColor &color, double strokeWidth)
{
    const QString name = lucideName(symbol);
    if (name.isEmpty()) {
        return {};
    }
    QByteArray svg = lucideSource(name);
    if (svg.isEmpty()) {
        return {};
    }
    const QByteArray rgb = color.name(QColor::HexRgb).toLatin1();
    const QByteArray alpha = QByteArray::number(color.alphaF(), 'g', 3);
    svg.replace("stroke-width=\"2\"", "stroke-width=\"" + QByteArray::number(strokeWidth) + '"');
    if (symbol.endsWith(u".fill") && svg.contains("<circle ")) {
        // A filled disc in the colour, the glyph's strokes in white on top.
        svg.replace("stroke=\"currentColor\"", "stroke=\"#ffffff\"");
        svg.replace("<circle ", "<circle fill=\"" + rgb + "\" fill-opacity=\"" + alpha +
                                    "\" stroke=\"" + rgb + "\" stroke-opacity=\"" + alpha + "\" ");
    } else if (symbol.endsWith(u".fill")) {
        // A glyph without a disc (the star) is filled itself.
        svg.replace("fill=\"none\"", "fill=\"" + rgb + "\" fill-opacity=\"" + alpha + '"');
        svg.replace("stroke=\"currentColor\"",
                    "stroke=\"" + rgb + "\" stroke-opacity=\"" + alpha + '"');
    } else {
        svg.replace("stroke=\"currentColor\"",
                    "stroke=\"" + rgb + "\" stroke-opacity=\"" + alpha + '"');
    }
    return svg;
}

void SymbolIcon::setSymbol(const QString &symbol)
{
    if (assign(m_symbol, symbol)) {
        emit symbolChanged();
    }
}

void SymbolIcon::setColor(const QColor &color)
{
    if (assign(m_color, color)) {
        emit colorChanged();
    }
}

void SymbolIcon::setStrokeWidth(double width)
{
    if (assign(m_strokeWidth, width)) {
        emit strokeWidthChanged();
    }
}

void SymbolIcon::paint(QPainter *painter)
{
    const QByteArray svg = tintedSvg(m_symbol, m_color, m_strokeWidth);
    if (svg.isEmpty()) {
        return;
    }
    QSvgRenderer renderer(svg);
    const double side = std::min(width(), height());
    renderer.render(painter, QRectF((width() - side) / 2, (height() - side) / 2, side, side));
}

} // namespace wordlumen
