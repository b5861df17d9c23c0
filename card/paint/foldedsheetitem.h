#pragma once

#include "themeditem.h"

#include <QPainterPath>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * A painted layer of the open card that follows the card's outline: rounded
 * corners and, except on the settings face, the folded top-right corner.
 */
class FoldedSheetItem : public wordlumen::ThemedItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FoldedSheetItem)
    QML_ANONYMOUS
    Q_PROPERTY(double cornerRadius READ cornerRadius WRITE setCornerRadius NOTIFY shapeChanged)
    Q_PROPERTY(double foldSize READ foldSize WRITE setFoldSize NOTIFY shapeChanged)

public:
    explicit FoldedSheetItem(QQuickItem *parent = nullptr);
    ~FoldedSheetItem() override;

    [[nodiscard]] double cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(double radius);
    [[nodiscard]] double foldSize() const { return m_foldSize; }
    void setFoldSize(double fold);

signals:
    void shapeChanged();

protected:
    /// The card's outline within `area`.
    [[nodiscard]] QPainterPath outline(const QRectF &area) const;

private:
    double m_cornerRadius = 16;
    double m_foldSize = 36;
};

} // namespace wordlumen
