#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tessaline Card"));
    window.resize(1100, 760);
    window.show();
    return app.exec();
}
