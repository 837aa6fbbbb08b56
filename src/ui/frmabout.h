#pragma once

#include <QDialog>

// The about box: version, Qt version, build date and the shipped home page.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // "Corvane 0.1.0", "Qt 6.4.2" and the build date, one a line.
    static QString versionText();
};
