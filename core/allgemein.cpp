#include "core/allgemein.h"

#include <QApplication>

namespace Allgemein {

int Main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return 0;
}

void QuitProgram() {}

} // namespace Allgemein
