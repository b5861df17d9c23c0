#pragma once

#include <QObject>

namespace wordlumen {

/**
 * The desktop's appearance settings: light or dark, and whether the user
 * asked for less motion or less transparency. Followed while the program
 * runs; `changed` tells of any change.
 */
class Appearance : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Appearance)

public:
    explicit Appearance(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~Appearance() override = default;

    [[nodiscard]] virtual bool prefersDark() const = 0;
    /// The desktop turned animations off (or asks for reduced motion).
    [[nodiscard]] virtual bool reducesMotion() const = 0;
    /// The desktop asks for less transparency.
    [[nodiscard]] virtual bool reducesTransparency() const { return false; }

signals:
    void changed();
};

} // namespace wordlumen
