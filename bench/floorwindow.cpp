// riderar-floor: the least a Qt Widgets program can do to put up a window of the practice
// window's client size. bench/measure.py starts it beside riderar-typing, so that the program's
// start-up, memory and idle figures can be read against what Qt itself costs.

#include "formlayout.h"
#include "twips.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Riderar floor"));
    window.setFixedSize(riderar::twipsToPixels(riderar::formClientWidthTwips),
                        riderar::twipsToPixels(riderar::formClientHeightTwips));
    window.show();
    return QApplication::exec();
}
