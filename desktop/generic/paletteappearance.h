#pragma once

#include "desktop/appearance.h"

namespace wordlumen {

/**
 * The appearance Qt itself knows: dark when the application palette's window
 * colour is dark, followed when the palette changes. (Qt 6.5 adds
 * QStyleHints::colorScheme; the 6.4 we build with has only the palette.)
 * Nothing reports reduced motion or transparency here.
 */
class PaletteAppearance final : public Appearance
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaletteAppearance)

public:
    explicit PaletteAppearance(QObject *parent = nullptr);
    ~PaletteAppearance() override;

    [[nodiscard]] bool prefersDark() const override { return m_dark; }
    [[nodiscard]] bool reducesMotion() const override { return false; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readPalette();

    bool m_dark = false;
};

} // namespace wordlumen
