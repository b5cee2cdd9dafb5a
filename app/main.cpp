#include "app/Application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int status = 0;
    {
        Application window;
        window.show();
        status = app.exec();
    }
    return status;
}
