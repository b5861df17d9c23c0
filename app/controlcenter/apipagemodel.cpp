#include "apipagemodel.h"

#include "core/settingsschema.h"
#include "core/textmetrics.h"
#include "desktop/platformwords.h"
#include "online/apisettings.h"

#include <QSettings>

namespace wordlumen {

ApiPageModel::ApiPageModel(SecretStore *store, QObject *parent)
    : QObject(parent)
    , m_settings(
          new ApiSettingsController(ApiSettingsController::Screen::ControlCenter, store, this))
{
    connect(m_settings, &ApiSettingsController::apiKeyChanged, this,
            &ApiPageModel::connectedChanged);
    connect(this, &ApiPageModel::styleChanged, this, &ApiPageModel::lengthSummaryLineChanged);
    connect(this, &ApiPageModel::hoveredLengthChanged, this,
            &ApiPageModel::lengthSummaryLineChanged);
}

ApiPageModel::~ApiPageModel() = default;

bool ApiPageModel::connected() const
{
    return !TextMetrics::trimmed(m_settings->apiKey()).isEmpty();
}

QString ApiPageModel::sidebarDetail() const
{
    return connected() ? QStringLiteral("API 已连接") : QStringLiteral("默认 DeepSeek · 未连接");
}

QString ApiPageModel::badgeTitle() const
{
    return connected() ? QStringLiteral("已连接") : QStringLiteral("未连接");
}

QString ApiPageModel::keyNote()
{
    return PlatformWords::localized(QStringLiteral("Key 只保存在这台 Mac 的钥匙串里。"));
}

QString ApiPageModel::defaultEndpoint()
{
    return ApiSettings::defaultEndpoint();
}

QString ApiPageModel::defaultModel()
{
    return ApiSettings::defaultModel();
}

ExplanationPromptProfile ApiPageModel::profile() const
{
    return ExplanationPromptProfile::current();
}

void ApiPageModel::store(const SettingSpec &spec, const QString &value)
{
    QSettings settings;
    if (settings.contains(spec.key) && settings.value(spec.key).toString() == value) {
        return;
    }
    settings.setValue(spec.key, value);
    emit styleChanged();
}

QStringList ApiPageModel::audienceTitles()
{
    QStringList titles;
    for (const ExplanationAudience audience : allExplanationAudiences()) {
        titles.append(title(audience));
    }
    return titles;
}

int ApiPageModel::audienceIndex() const
{
    return int(allExplanationAudiences().indexOf(profile().audience));
}

void ApiPageModel::setAudienceIndex(int index)
{
    const QList<ExplanationAudience> audiences = allExplanationAudiences();
    if (index < 0 || index >= audiences.size()) {
        return;
    }
    store(SettingsSchema::explanationAudience(), toString(audiences[index]));
}

bool ApiPageModel::customAudience() const
{
    return profile().audience == ExplanationAudience::Custom;
}

QString ApiPageModel::customPerspective() const
{
    return profile().customPerspective;
}

void ApiPageModel::setCustomPerspective(const QString &text)
{
    store(SettingsSchema::customExplanationPerspective(), text);
}

QStringList ApiPageModel::lengthTitles()
{
    QStringList titles;
    for (const ExplanationLength length : allExplanationLengths()) {
        titles.append(title(length));
    }
    return titles;
}

QStringList ApiPageModel::lengthSummaries()
{
    QStringList summaries;
    for (const ExplanationLength length : allExplanationLengths()) {
        summaries.append(summary(length));
    }
    return summaries;
}

int ApiPageModel::lengthIndex() const
{
    return int(allExplanationLengths().indexOf(profile().length));
}

void ApiPageModel::setLengthIndex(int index)
{
    const QList<ExplanationLength> lengths = allExplanationLengths();
    if (index < 0 || index >= lengths.size()) {
        return;
    }
    store(SettingsSchema::explanationLength(), toString(lengths[index]));
}

QString ApiPageModel::audienceSummary() const
{
    return summary(profile().audience);
}

QString ApiPageModel::lengthSummaryLine() const
{
    const QList<ExplanationLength> lengths = allExplanationLengths();
    const ExplanationLength shown = m_hoveredLength >= 0 && m_hoveredLength < lengths.size()
                                        ? lengths[m_hoveredLength]
                                        : profile().length;
    return summary(shown) + QStringLiteral(" · 视角不额外加长");
}

QString ApiPageModel::styleLine() const
{
    const ExplanationPromptProfile current = profile();
    return title(current.audience) + QStringLiteral(" · ") + title(current.length);
}

void ApiPageModel::hoverLength(int index)
{
    if (m_hoveredLength == index) {
        return;
    }
    m_hoveredLength = index;
    emit hoveredLengthChanged();
}

void ApiPageModel::unhoverLength(int index)
{
    if (m_hoveredLength != index) {
        return;
    }
    m_hoveredLength = -1;
    emit hoveredLengthChanged();
}

} // namespace wordlumen
