// A bare Qt window with one button, for comparing start-up time and memory.
#include <QApplication>
#include <QPushButton>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QPushButton button("Go");
    button.setWindowTitle("Bare");
    button.resize(500, 355);
    button.show();
    return QApplication::exec();
}
