#pragma once

#include <QWidget>

class JobController;
class Mp3FieldStrip;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QTableView;
class UserChannel;

// The MP3 job's template strip above its list: the heading with the tag
// versions to read and write, and one template box under each column.
// Double-clicking the heading puts the shipped templates back.
class Mp3TemplateGroup : public QWidget
{
    Q_OBJECT

public:
    Mp3TemplateGroup(JobController &controller, UserChannel &user, QTableView *list, QWidget *parent = nullptr);

    Mp3FieldStrip *fieldStrip() const { return m_fieldStrip; }
    // Follows the controller's templates, tag versions and job set-up.
    void refresh();

Q_SIGNALS:
    // An edit here changed which commands are offered.
    void commandsChanged();
    // A template box took the focus: the variable list inserts there.
    void textBoxFocused(QWidget *box);

private:
    QWidget *buildTarget();
    QGroupBox *buildVersions();
    void bindInputs();
    void resetTemplates();

    JobController &m_controller;
    UserChannel &m_user;
    QComboBox *m_cmbReplaceTarget = nullptr;
    QGroupBox *m_frID3 = nullptr;
    QCheckBox *m_chkID3v1 = nullptr;
    QCheckBox *m_chkID3v2 = nullptr;
    Mp3FieldStrip *m_fieldStrip = nullptr;
};
