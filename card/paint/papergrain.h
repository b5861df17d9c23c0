#pragma once

#include "foldedsheetitem.h"

#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * The printed grain over the paper: a fixed pattern of tiny ink dots, drawn
 * in one pass, clipped to the card's outline. Nothing is drawn when the
 * desktop asks for reduced transparency.
 */
class PaperGrain : public wordlumen::FoldedSheetItem
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PaperGrain)
    QML_ELEMENT

public:
    explicit PaperGrain(QQuickItem *parent = nullptr);
    ~PaperGrain() override;

    void paint(QPainter *painter) override;
};

} // namespace wordlumen
