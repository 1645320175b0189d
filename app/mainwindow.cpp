#include "app/mainwindow.h"

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(windowCaption());
}

QString MainWindow::windowCaption()
{
    return QStringLiteral("Velmora - Punch control program for serial port      version 3.5");
}
