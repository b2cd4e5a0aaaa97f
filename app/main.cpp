#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folivane"));
    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Folivane"));
    frame.resize(1024, 720);
    frame.show();
    return QApplication::exec();
}
