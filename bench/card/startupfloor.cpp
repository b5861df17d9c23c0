// The toolkit's floor for start-up: the smallest Qt Quick program that shows a
// transparent, frameless 140 × 60 window with a capsule, on the same renderer.
// Prints "first-frame" once its first frame is shown.
//
// With --control-center it then shows a second, 640 × 502 window holding one
// line of Chinese text in the interface's font, the floor for launching with
// the control center, and prints "control-center-first-frame" once that
// window's first frame is shown.

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickView>

#include <cstdio>
#include <memory>

namespace {

std::unique_ptr<QQuickView> showWindow(const QByteArray &qml, QSize size, Qt::WindowFlags flags,
                                       const char *report)
{
    auto view = std::make_unique<QQuickView>();
    view->setFlags(flags);
    view->setColor(Qt::transparent);
    view->setResizeMode(QQuickView::SizeRootObjectToView);
    QQmlComponent component(view->engine());
    component.setData(qml, QUrl());
    auto *root = qobject_cast<QQuickItem *>(component.create());
    view->setContent(QUrl(), &component, root);
    view->resize(size);
    QObject::connect(
        view.get(), &QQuickWindow::frameSwapped, view.get(),
        [report, reported = false]() mutable {
            if (!reported) {
                reported = true;
                std::puts(report);
                std::fflush(stdout);
            }
        },
        Qt::DirectConnection);
    view->show();
    return view;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QQuickWindow::setDefaultAlphaBuffer(true);
    const auto trigger =
        showWindow("import QtQuick\n"
                   "Item { width: 140; height: 60\n"
                   "  Rectangle { anchors.centerIn: parent; width: 116; height: 36; radius: 18\n"
                   "    color: \"#fefdfb\"; border.color: \"#20111827\"\n"
                   "    Text { anchors.centerIn: parent; text: \"WORD / 001\" } } }",
                   QSize(140, 60), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint,
                   "first-frame");
    std::unique_ptr<QQuickView> second;
    if (QGuiApplication::arguments().contains(QStringLiteral("--control-center"))) {
        // Shown after the trigger's first frame, as the program does.
        QObject::connect(
            trigger.get(), &QQuickWindow::frameSwapped, &app,
            [&second] {
                if (!second) {
                    second = showWindow(
                        "import QtQuick\n"
                        "Rectangle { width: 640; height: 502; color: \"#fbfaf7\"\n"
                        "  Text { anchors.centerIn: parent; text: \"浮动卡、本地词库与 API\"\n"
                        "    font.family: \"Noto Sans CJK SC\"; font.pixelSize: 13 } }",
                        QSize(640, 502), Qt::Window | Qt::FramelessWindowHint,
                        "control-center-first-frame");
                }
            },
            Qt::QueuedConnection);
    }
    return QGuiApplication::exec();
}
