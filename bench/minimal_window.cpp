// The yardstick of declmod's start: the minimal Qt Widgets program, a main window titled by
// its argument that shows one line of text (text matters: the first text drawn loads the font
// database, which every real window pays).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(argc > 1 ? QString::fromUtf8(argv[1]) : QStringLiteral("minimal"));
    window.setCentralWidget(new QLabel(QStringLiteral("Hola"), &window));
    window.resize(648, 488);
    window.show();
    return QApplication::exec();
}
