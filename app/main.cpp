#include "app/applicationshell.h"
#include "app/platformsetup.h"

#include <QApplication>
#include <QtQml/qqmlextensionplugin.h>

// The card's and the application's QML modules are linked in statically.
Q_IMPORT_QML_PLUGIN(Wordlumen_CardPlugin)
Q_IMPORT_QML_PLUGIN(Wordlumen_AppPlugin)

int main(int argc, char *argv[])
{
    wordlumen::PlatformSetup::beforeApplication();
    // QApplication rather than QGuiApplication: the tray icon and its menu are widgets.
    QApplication app(argc, argv);
    wordlumen::PlatformSetup::afterApplication();

    wordlumen::ApplicationShell shell;
    if (!shell.claimSingleInstance()) {
        return 0; // the running Wordlumen shows its card again
    }
    shell.start();
    return QApplication::exec();
}
