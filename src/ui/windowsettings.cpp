#include "ui/windowsettings.h"

#include "persist/settings.h"
#include "ui/frmmain.h"
#include "ui/listcolumns.h"
#include "ui/rowlistview.h"
#include "ui/windowplacement.h"

WindowSettings::WindowSettings(frmMain &window, ListColumns &columns, Settings &settings)
    : m_window(window)
    , m_columns(columns)
    , m_settings(settings)
{
}

void WindowSettings::apply()
{
    const Settings &s = m_settings;
    const QRect saved(s.formLeft, s.formTop, std::max(200, s.formRight - s.formLeft),
                      std::max(150, s.formBottom - s.formTop));
    // A scaled or smaller screen than the one the settings were made on.
    const QRect area = AvailableAreaFor(saved);
    m_window.setGeometry(area.isEmpty() ? saved : KeepOnScreen(saved, area));
    m_window.setMenuBarShown(s.menuBarShown, false);
    m_window.setStayOnTop(s.stayOnTop);
    m_window.setSemiTransparent(s.semiTransparent);
    m_window.action(QStringLiteral("mnuLivePreview"))->setChecked(s.livePreview);
    m_columns.applyMain(s.listColumnWidths);
    if (!s.listFontName.isEmpty() && s.listFontSize > 0) {
        QFont font(s.listFontName);
        font.setPointSizeF(s.listFontSize);
        m_columns.setFont(font);
    }
}

void WindowSettings::store()
{
    const QRect normal = m_window.isVisible() ? m_window.normalGeometry() : m_window.geometry();
    m_settings.formLeft = normal.left();
    m_settings.formTop = normal.top();
    m_settings.formRight = normal.left() + normal.width();
    m_settings.formBottom = normal.top() + normal.height();
    m_settings.livePreview = m_window.action(QStringLiteral("mnuLivePreview"))->isChecked();
    m_settings.listColumnWidths = m_columns.mainTwips();
    m_settings.listFontName = m_window.listV()->font().family();
    m_settings.listFontSize = m_window.listV()->font().pointSizeF();
}
