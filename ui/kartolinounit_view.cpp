// The "Ansicht" menu: the tab row's look, and saving it as the default.

#include "kartolinounit.h"

#include "profile.h"
#include "tabcontrol.h"

#include <QAction>

namespace ui {

void TfrmMain::applyViewSettings(const cards::ViewSettings &view)
{
    m_view = view;
    m_tabControl1->SetMultiLine(view.multiLine);
    MenuItem(QStringLiteral("mnuMehrzeilig"))->setChecked(m_tabControl1->MultiLine());
    setTabStyle(view.tabStyle);
}

void TfrmMain::setTabStyle(int style)
{
    static const char *const items[] = {"mnuRegister", "mnuButtons", "mnuFlat"};
    m_tabControl1->SetStyle(static_cast<controls::TTabStyle>(style));
    MenuItem(QString::fromLatin1(items[style]))->setChecked(true);
}

void TfrmMain::mnuRegisterClick(QObject *) { setTabStyle(controls::tsTabs); }
void TfrmMain::mnuButtonsClick(QObject *) { setTabStyle(controls::tsButtons); }
void TfrmMain::mnuFlatClick(QObject *) { setTabStyle(controls::tsFlatButtons); }

void TfrmMain::mnuMehrzeiligClick(QObject *)
{
    m_tabControl1->SetMultiLine(!m_tabControl1->MultiLine());
    MenuItem(QStringLiteral("mnuMehrzeilig"))->setChecked(m_tabControl1->MultiLine());
}

void TfrmMain::mnuSaveAnsichtClick(QObject *)
{
    cards::ViewSettings view;
    view.multiLine = m_tabControl1->MultiLine();
    view.tabStyle = m_tabControl1->Style();
    view.windowState = isMaximized() ? cards::wsMaximized : isMinimized() ? cards::wsMinimized : cards::wsNormal;
    const QRect outer = frameGeometry();
    view.width = outer.width();
    view.height = outer.height();
    const platform::TIniFile ini(SettingsFileName());
    cards::WriteViewSettings(ini, view);
    saveSpellSettings(ini);
}

} // namespace ui
