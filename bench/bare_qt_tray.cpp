// The yardstick for Velloran's memory at start-up: a plain Qt window with a menu and a tray icon with
// its own menu, and nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare tray window"));
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&File"));
    QObject::connect(file->addAction(QStringLiteral("E&xit")), &QAction::triggered, &app,
                     &QApplication::quit);
    window.resize(650, 400);

    QPixmap picture(16, 16);
    picture.fill(Qt::darkBlue);
    QMenu trayMenu;
    trayMenu.addAction(QStringLiteral("&Restore"), &window, &QWidget::showNormal);
    QObject::connect(trayMenu.addAction(QStringLiteral("E&xit")), &QAction::triggered, &app,
                     &QApplication::quit);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setContextMenu(&trayMenu);
    tray.setToolTip(QStringLiteral("Bare tray window"));
    tray.show();

    window.show();
    return QApplication::exec();
}
