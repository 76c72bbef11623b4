// A stand-in main window for the login-block tests, run as a process of its own:
//
//   login_block_peer KEY MARKER
//
// It publishes the login block under KEY with its refresh endpoint and prints
// "published <0|1> <endpoint>". Each refresh request appends "reloaded" to the file MARKER,
// after a pause, so that a sender released before the reload is caught. Commands on stdin:
// "store <password>" (answers "stored <0|1>"), "quit".
#include "login_block.h"
#include "refresh_receiver.h"

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) return 2;
    const QString marker = QString::fromLocal8Bit(argv[2]);

    QWidget window;
    hbx::app::RefreshReceiver receiver(&window);
    QObject::connect(&receiver, &hbx::app::RefreshReceiver::refreshRequested, [marker] {
        QThread::msleep(300);
        QFile file(marker);
        if (file.open(QIODevice::Append)) file.write("reloaded\n");
    });
    hbx::app::LoginBlock block(QString::fromLocal8Bit(argv[1]));
    const bool published = block.publish(receiver.endpoint());
    std::cout << "published " << published << ' ' << receiver.endpoint() << std::endl;

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        std::string line;
        if (!std::getline(std::cin, line) || line == "quit") {
            application.quit();
            return;
        }
        if (line.rfind("store ", 0) == 0) {
            const bool stored = block.storePassword(QString::fromStdString(line.substr(6)));
            std::cout << "stored " << stored << std::endl;
        }
    });
    return application.exec();
}
