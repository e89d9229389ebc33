#include <QApplication>
#include <QMainWindow>

// Wires the program together: the application, its platform services and the main window.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fonzeta 1.0"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Fonzeta 1.0"));
    window.resize(647, 529);
    window.show();
    return app.exec();
}
