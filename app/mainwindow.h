#pragma once

#include <QMainWindow>

// The program's one window. It composes the panels and wires them together;
// the behaviour lives in the subsystems' own classes.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    static QString windowCaption();
};
