// The least a shown Qt window costs when nothing happens: a frameless window of the main
// window's size with nothing in it. The idle benchmark compares the player against it.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(742, 439);
    window.show();
    return app.exec();
}
