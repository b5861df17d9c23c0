#pragma once

// Wordlumen's QML modules are linked in statically: every program that shows
// them includes this once, in the file that holds its main().

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Wordlumen_PaintPlugin)
Q_IMPORT_QML_PLUGIN(Wordlumen_ControlsPlugin)
Q_IMPORT_QML_PLUGIN(Wordlumen_CardPlugin)
Q_IMPORT_QML_PLUGIN(Wordlumen_AppPlugin)
