#pragma once

#include <QFont>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

/**
 * How many chips of a one-line row fit: the labels measured in the chips'
 * font, laid out by ChipFit (cardmodel/chipfit.h), with the chip that ends
 * the row ("+N" when some are left out, else "全部") always kept. The row
 * shows the first shownCount chips.
 */
class ChipRowFit : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChipRowFit)
    QML_ELEMENT

    Q_PROPERTY(QStringList labels READ labels WRITE setLabels NOTIFY inputsChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY inputsChanged)
    Q_PROPERTY(
        double availableWidth READ availableWidth WRITE setAvailableWidth NOTIFY inputsChanged)
    Q_PROPERTY(int shownCount READ shownCount NOTIFY resultChanged)
    Q_PROPERTY(int hiddenCount READ hiddenCount NOTIFY resultChanged)
    /// The ending chip's label, "+N" or "全部", and its name for screen readers.
    Q_PROPERTY(QString trailingLabel READ trailingLabel NOTIFY resultChanged)
    Q_PROPERTY(QString trailingName READ trailingName NOTIFY resultChanged)

public:
    explicit ChipRowFit(QObject *parent = nullptr);
    ~ChipRowFit() override;

    [[nodiscard]] QStringList labels() const { return m_labels; }
    void setLabels(const QStringList &labels);
    [[nodiscard]] QFont font() const { return m_font; }
    void setFont(const QFont &font);
    [[nodiscard]] double availableWidth() const { return m_availableWidth; }
    void setAvailableWidth(double width);

    [[nodiscard]] int shownCount() const { return m_shown; }
    [[nodiscard]] int hiddenCount() const { return m_hidden; }
    [[nodiscard]] QString trailingLabel() const;
    [[nodiscard]] QString trailingName() const;

    /// A chip's width for a label in `font`, as the row lays it out.
    [[nodiscard]] static double chipWidth(const QFont &font, const QString &label);

signals:
    void inputsChanged();
    void resultChanged();

private:
    void update();

    QStringList m_labels;
    QFont m_font;
    double m_availableWidth = 0;
    int m_shown = 0;
    int m_hidden = 0;
};

} // namespace wordlumen
