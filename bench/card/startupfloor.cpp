// The toolkit's floor for the trigger's start-up: the smallest Qt Quick
// program that shows a transparent, frameless 140 × 60 window with a capsule,
// on the same renderer. Prints "first-frame" once its first frame is shown.

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickView>

#include <cstdio>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickWindow::setDefaultAlphaBuffer(true);
    QQuickView view;
    view.setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    view.setColor(Qt::transparent);
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    QQmlComponent component(view.engine());
    component.setData("import QtQuick\n"
                      "Item { width: 140; height: 60\n"
                      "  Rectangle { anchors.centerIn: parent; width: 116; height: 36; radius: 18\n"
                      "    color: \"#fefdfb\"; border.color: \"#20111827\"\n"
                      "    Text { anchors.centerIn: parent; text: \"WORD / 001\" } } }",
                      QUrl());
    auto *root = qobject_cast<QQuickItem *>(component.create());
    view.setContent(QUrl(), &component, root);
    view.resize(140, 60);
    QObject::connect(
        &view, &QQuickWindow::frameSwapped, &app,
        [] {
            static bool reported = false;
            if (!reported) {
                reported = true;
                std::puts("first-frame");
                std::fflush(stdout);
            }
        },
        Qt::DirectConnection);
    view.show();
    return QGuiApplication::exec();
}
