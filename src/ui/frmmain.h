#pragma once

#include "engine/renamerowlist.h"

#include <QMainWindow>

class QComboBox;
class QFrame;
class QProgressBar;
class QPushButton;
class QTableView;
class RenameRowModel;
class QtUserChannel;

// Corvane's main window: the job selector, the list and the three commands.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    frmMain(RenameRowList &rows, QtUserChannel &user, bool debug, QWidget *parent = nullptr);

    static QString caption();

    QComboBox *cmbTarget() const { return m_cmbTarget; }
    QTableView *listV() const { return m_listV; }
    QPushButton *cmdSetInf() const { return m_cmdSetInf; }
    QPushButton *cmdSetFile() const { return m_cmdSetFile; }
    QPushButton *cmdRestore() const { return m_cmdRestore; }
    RenameRowModel *listModel() const { return m_model; }

private:
    void buildList(RenameRowList &rows, bool debug);
    QWidget *buildCommands();

    QComboBox *m_cmbTarget;
    QTableView *m_listV;
    RenameRowModel *m_model;
    QPushButton *m_cmdSetInf;
    QPushButton *m_cmdSetFile;
    QPushButton *m_cmdRestore;
    QFrame *m_frProg;
    QProgressBar *m_prog;
};
