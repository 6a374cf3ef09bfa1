// The player. No command-line options: the installation is described by the
// registry store ($ALTAVO_REGISTRY or /etc/altavo/registry.ini).
#include <QApplication>

#include "program/TProgram.h"

int main(int argc, char** argv) {
    PrepareProcess();
    QApplication app(argc, argv);
    PrepareApplication();
    return RunAltavo(app);
}
