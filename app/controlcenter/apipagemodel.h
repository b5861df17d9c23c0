#pragma once

#include "online/apisettingscontroller.h"
#include "online/explanationpromptprofile.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace wordlumen {

struct SettingSpec;

class SecretStore;

/**
 * The control center's page about the online service and the explanation
 * style: the endpoint, model and key (saved through the shared settings
 * controller, with this page's messages), the audience, the custom
 * perspective and the length, each stored as it is chosen.
 *
 * Stored values it does not know (an audience an older version wrote, a
 * length typed by hand) show as the defaults, plain and standard, and stay
 * stored as they are until the user picks another.
 */
class ApiPageModel final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ApiPageModel)
    QML_ELEMENT
    QML_UNCREATABLE("The control center makes its pages.")

    Q_PROPERTY(wordlumen::ApiSettingsController *settings READ settings CONSTANT)
    /// Whether the key field holds a key (after trimming).
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString sidebarDetail READ sidebarDetail NOTIFY connectedChanged)
    Q_PROPERTY(QString badgeTitle READ badgeTitle NOTIFY connectedChanged)
    /// Where the key is kept, in this system's words.
    Q_PROPERTY(QString keyNote READ keyNote CONSTANT)
    /// The fields' placeholders: what is used when nothing is stored.
    Q_PROPERTY(QString defaultEndpoint READ defaultEndpoint CONSTANT)
    Q_PROPERTY(QString defaultModel READ defaultModel CONSTANT)

    Q_PROPERTY(QStringList audienceTitles READ audienceTitles CONSTANT)
    Q_PROPERTY(int audienceIndex READ audienceIndex WRITE setAudienceIndex NOTIFY styleChanged)
    Q_PROPERTY(bool customAudience READ customAudience NOTIFY styleChanged)
    Q_PROPERTY(QString customPerspective READ customPerspective WRITE setCustomPerspective NOTIFY
                   styleChanged)
    Q_PROPERTY(QStringList lengthTitles READ lengthTitles CONSTANT)
    /// The lengths' summaries, the segments' tooltips.
    Q_PROPERTY(QStringList lengthSummaries READ lengthSummaries CONSTANT)
    Q_PROPERTY(int lengthIndex READ lengthIndex WRITE setLengthIndex NOTIFY styleChanged)
    /// The length segment under the pointer, -1 for none.
    Q_PROPERTY(int hoveredLength READ hoveredLength NOTIFY hoveredLengthChanged)
    Q_PROPERTY(QString audienceSummary READ audienceSummary NOTIFY styleChanged)
    /// The hovered (else the chosen) length's summary, with " · 视角不额外加长".
    Q_PROPERTY(QString lengthSummaryLine READ lengthSummaryLine NOTIFY lengthSummaryLineChanged)
    /// The sidebar's "通俗白话 · 推荐".
    Q_PROPERTY(QString styleLine READ styleLine NOTIFY styleChanged)

public:
    /// `store` is null for the system keyring; another must outlive the page.
    explicit ApiPageModel(SecretStore *store, QObject *parent = nullptr);
    ~ApiPageModel() override;

    [[nodiscard]] ApiSettingsController *settings() const { return m_settings; }
    [[nodiscard]] bool connected() const;
    [[nodiscard]] QString sidebarDetail() const;
    [[nodiscard]] QString badgeTitle() const;
    [[nodiscard]] static QString keyNote();
    [[nodiscard]] static QString defaultEndpoint();
    [[nodiscard]] static QString defaultModel();

    [[nodiscard]] static QStringList audienceTitles();
    [[nodiscard]] int audienceIndex() const;
    void setAudienceIndex(int index);
    [[nodiscard]] bool customAudience() const;
    [[nodiscard]] QString customPerspective() const;
    void setCustomPerspective(const QString &text);
    [[nodiscard]] static QStringList lengthTitles();
    [[nodiscard]] static QStringList lengthSummaries();
    [[nodiscard]] int lengthIndex() const;
    void setLengthIndex(int index);
    [[nodiscard]] int hoveredLength() const { return m_hoveredLength; }
    [[nodiscard]] QString audienceSummary() const;
    [[nodiscard]] QString lengthSummaryLine() const;
    [[nodiscard]] QString styleLine() const;

    /// The pointer entered a length segment.
    Q_INVOKABLE void hoverLength(int index);
    /// The pointer left a segment: the hover clears only if it was that segment's.
    Q_INVOKABLE void unhoverLength(int index);

signals:
    void connectedChanged();
    void styleChanged();
    void hoveredLengthChanged();
    void lengthSummaryLineChanged();

private:
    [[nodiscard]] ExplanationPromptProfile profile() const;
    void store(const SettingSpec &spec, const QString &value);

    ApiSettingsController *m_settings;
    int m_hoveredLength = -1;
};

} // namespace wordlumen
