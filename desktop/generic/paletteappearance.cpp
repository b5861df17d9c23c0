#include "paletteappearance.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace wordlumen {

PaletteAppearance::PaletteAppearance(QObject *parent)
    : Appearance(parent)
{
    readPalette();
    if (qApp) {
        qApp->installEventFilter(this);
    }
}

PaletteAppearance::~PaletteAppearance() = default;

void PaletteAppearance::readPalette()
{
    const QColor window = QGuiApplication::palette().color(QPalette::Window);
    m_dark = window.lightnessF() < 0.5;
}

bool PaletteAppearance::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp) {
        const bool before = m_dark;
        readPalette();
        if (before != m_dark) {
            emit changed();
        }
    }
    return Appearance::eventFilter(watched, event);
}

} // namespace wordlumen
