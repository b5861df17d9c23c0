#include "foldedsheetitem.h"

#include "cardshapes.h"

namespace wordlumen {

FoldedSheetItem::FoldedSheetItem(QQuickItem *parent)
    : ThemedItem(parent)
{}

FoldedSheetItem::~FoldedSheetItem() = default;

void FoldedSheetItem::setCornerRadius(double radius)
{
    if (assign(m_cornerRadius, radius)) {
        emit shapeChanged();
    }
}

void FoldedSheetItem::setFoldSize(double fold)
{
    if (assign(m_foldSize, fold)) {
        emit shapeChanged();
    }
}

QPainterPath FoldedSheetItem::outline(const QRectF &area) const
{
    return CardShapes::foldedCardPath(area, m_cornerRadius, m_foldSize);
}

} // namespace wordlumen
