// SPDX-License-Identifier: MIT
// cdnozzle: the nozzle-flow animation window.
#include "main_window.h"

#include <QApplication>

#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "cdnozzle " << CDNOZZLE_VERSION << '\n';
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName("cdnozzle");
    QApplication::setApplicationName(cdnozzle::kApplicationTitle);
    QApplication::setApplicationVersion(CDNOZZLE_VERSION);
    cdnozzle::MainWindow window;
    window.show();
    return app.exec();
}
