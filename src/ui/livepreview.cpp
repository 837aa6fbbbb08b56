#include "ui/livepreview.h"

#include "engine/control/jobcontroller.h"
#include "ui/renamerowmodel.h"
#include "ui/rowlistview.h"

#include <QAction>
#include <QScrollBar>
#include <QStatusBar>

LivePreview::LivePreview(JobController &controller, RowListView *list, RenameRowModel *model, QAction *option,
                         QStatusBar *status, std::function<void()> commandsChanged)
    : QObject(list)
    , m_controller(controller)
    , m_list(list)
    , m_model(model)
    , m_option(option)
    , m_status(status)
    , m_commandsChanged(std::move(commandsChanged))
{
    // Keystrokes that come quickly after each other make one preview.
    m_timer.setSingleShot(true);
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, &LivePreview::show);
    connect(&m_controller, &JobController::inputsEdited, this, [this] {
        if (m_option->isChecked())
            m_timer.start();
    });
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_model->hasPreview())
            m_timer.start();
    });
    connect(m_option, &QAction::toggled, this, [this](bool on) {
        if (!on)
            drop();
    });
}

void LivePreview::show()
{
    if (!m_option->isChecked() || m_controller.busy())
        return;
    const int count = m_model->rowCount();
    const int first = m_list->rowAt(0);
    int last = m_list->rowAt(m_list->viewport()->height() - 1);
    if (last < 0)
        last = count - 1;
    if (first < 0 || count == 0) {
        m_model->clearPreview();
        return;
    }
    const QStringList names = m_controller.PreviewNames(first + 1, last + 1);
    m_commandsChanged();
    if (names.isEmpty()) {
        m_model->clearPreview();
        return;
    }
    m_model->setPreview(first + 1, names);
    m_status->showMessage(QStringLiteral("プレビュー表示中 － 「試行」で全ての行を確認すると実行できます"));
}

void LivePreview::drop()
{
    m_timer.stop();
    m_model->clearPreview();
}
