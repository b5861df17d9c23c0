#pragma once

#include "themeditem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The printed grain over the paper: a fixed pattern of tiny ink dots, drawn
 * in one pass, clipped to the card's outline. Nothing is drawn when the
 * desktop asks for reduced transparency.
 */
class PaperGrain : public ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaperGrain)
    QML_ELEMENT
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY shapeChanged)
    Q_PROPERTY(double foldSize READ foldSize WRITE setFoldSize NOTIFY shapeChanged)

public:
    explicit PaperGrain(QQuickItem *parent = nullptr);
    ~PaperGrain() override;

    [[nodiscard]] double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    [[nodiscard]] double foldSize() const { return m_foldSize; }
    void setFoldSize(double fold);

    void paint(QPainter *painter) override;

signals:
    void shapeChanged();

private:
    double m_cornerRadius = 16;
    double m_foldSize = 36;
};

} // namespace wordlumen
