#pragma once

#include "foldedsheetitem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The open card's sheet: the paper colour, a diagonal sheen, the outline with
 * the folded corner stroked in the edge gradient.
 */
class CardPaper : public wordlumen::FoldedSheetItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardPaper)
    QML_ELEMENT

public:
    explicit CardPaper(QQuickItem *parent = nullptr);
    ~CardPaper() override;

    void paint(QPainter *painter) override;
};

} // namespace wordlumen
