#pragma once

#include "cardmodel/cardviewmodel.h"

#include <QtQml/qqml.h>

namespace wordlumen {

// The lookup core stays free of QtQml; its view model reaches QML from here.
struct CardViewModelForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::CardViewModel)
    QML_NAMED_ELEMENT(CardViewModel)
    QML_UNCREATABLE("The card's view model is made by the application.")
};

// The history's side of the answer shown, as the view model's `history`.
struct HistoryRecorderForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::HistoryRecorder)
    QML_NAMED_ELEMENT(HistoryRecorder)
    QML_UNCREATABLE("The application makes the card's history.")
};
// The passage of the last lookup and its lists reach QML through the view
// model's properties only.
struct PassageSessionForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::PassageSession)
    QML_NAMED_ELEMENT(PassageSession)
    QML_UNCREATABLE("The passage belongs to the card's view model.")
};
struct PassageTermModelForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::PassageTermModel)
    QML_NAMED_ELEMENT(PassageTermModel)
    QML_UNCREATABLE("A passage's lists belong to the card's view model.")
};

// Where an answer came from, as ExplanationOrigin.Local and so on.
namespace ExplanationOriginForeign {
Q_NAMESPACE
QML_FOREIGN_NAMESPACE(wordlumen)
QML_NAMED_ELEMENT(ExplanationOrigin)
} // namespace ExplanationOriginForeign

} // namespace wordlumen
