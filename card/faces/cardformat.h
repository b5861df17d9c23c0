#pragma once

#include "core/explanationresult.h"

#include <QMatrix4x4>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * How the faces present what the view model holds: the source line of an
 * answer, the card's turn, the line pitch of the answer text.
 */
class CardFormat : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CardFormat)
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit CardFormat(QObject *parent = nullptr);
    ~CardFormat() override;

    /// The source line for an origin, with Latin letters upper-cased.
    Q_INVOKABLE [[nodiscard]] static QString originLabel(wordlumen::ExplanationOrigin origin);
    /// Whether the origin's label is a notice (accent ink) rather than a plain source.
    Q_INVOKABLE [[nodiscard]] static bool originIsNotice(wordlumen::ExplanationOrigin origin);
    /// The transform of a face turned by `radians` about its vertical axis.
    Q_INVOKABLE [[nodiscard]] static QMatrix4x4 flipMatrix(double radians, double width,
                                                           double height);
    /// The answer text as rich text with the card's line pitch (plain text stays plain).
    Q_INVOKABLE [[nodiscard]] static QString answerHtml(const QString &text);
};

} // namespace wordlumen
