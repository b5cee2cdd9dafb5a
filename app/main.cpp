#include "app/Application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int status = 0;
    {
        Application window;
        window.show();
        status = QApplication::exec();
    }
    return status;
}
