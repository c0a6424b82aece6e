#include "practiceform.h"

#include <QApplication>
#include <QStyleHints>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Ties the window to its menu entry and icon (the Wayland app id, the X11 startup notice).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.example.RiderarTyping"));
    // A steady caret: a blinking one would wake the program twice a second while the user
    // pauses, and the minute timer is meant to be its only wake-up.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    riderar::PracticeForm form;
    form.show();
    return QApplication::exec();
}
