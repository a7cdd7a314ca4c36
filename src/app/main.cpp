#include "quotes/TBourse.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TBourse b;
    b.show();
    return app.exec();
}
