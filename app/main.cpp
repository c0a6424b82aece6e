#include "practiceform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    riderar::PracticeForm form;
    form.show();
    return QApplication::exec();
}
