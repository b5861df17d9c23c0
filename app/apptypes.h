#pragma once

#include "history/historylistmodel.h"
#include "online/apisettingscontroller.h"

#include <QtQml/qqml.h>

namespace wordlumen {

// The online library stays free of QtQml; its settings controller reaches QML
// from here. Anonymous: screens reach it only through their models' properties.
struct ApiSettingsControllerForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::ApiSettingsController)
    QML_ANONYMOUS
};

// The history page's rows: the history library stays free of QtQml too.
struct HistoryListModelForeign
{
    Q_GADGET
    QML_FOREIGN(wordlumen::HistoryListModel)
    QML_ANONYMOUS
};

} // namespace wordlumen
