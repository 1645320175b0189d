#include "roll/rollpresenter.h"

#include "app/appcore.h"
#include "app/mainwindow.h"
#include "job/jobcontrolspanel.h"
#include "roll/nextnote.h"
#include "roll/rollgeometry.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

namespace velmora {

RollPresenter::RollPresenter(AppCore &core, MainWindow &window)
    : QObject(&window), m_core(core), m_window(window)
{
    JobControlsPanel *controls = window.controlsPanel();
    connect(&window, &MainWindow::rollViewResized, this, &RollPresenter::resized);
    connect(&core.opener, &PrtOpener::rollChanged, this,
            [this](bool loaded) { loaded ? drawRoll() : clearRoll(); });
    connect(&core.nextNote, &NextNoteState::changed, controls->txtNextNote,
            [controls](qint32, const QString &text) { controls->txtNextNote->setText(text); });
    connect(controls->vscNextNote, &QScrollBar::valueChanged, this,
            &RollPresenter::vscNextNote_Change);
    connect(controls->txtNextNote, &QLineEdit::returnPressed, this,
            &RollPresenter::txtNextNote_Enter);
    connect(window.settingsPanel()->chkRechts, &QCheckBox::clicked, this, [this] {
        if (m_core.opener.fileLoaded())
            drawRoll();
    });
    clearRoll();
}

void RollPresenter::drawRoll()
{
    RollView *view = m_window.rollView();
    const QSize size = view->innerSize();
    const SettingsPanel *settings = m_window.settingsPanel();
    RollRequest request;
    request.nextNote = m_core.nextNote.value();
    request.rollViewWidth = size.width();
    request.rollViewHeight = size.height();
    request.mirror = settings->chkMirror->isChecked();
    request.right = settings->chkRechts->isChecked();
    request.ascending = m_core.opener.holesAscending();
    view->setShapes(DrawRollShapes(m_core.holes, request));
}

void RollPresenter::clearRoll()
{
    RollView *view = m_window.rollView();
    const QSize size = view->innerSize();
    view->setShapes(EmptyRollShapes(size.width(), size.height()));
}

void RollPresenter::resized()
{
    if (m_core.opener.fileLoaded())
        drawRoll();
    else
        clearRoll();
}

void RollPresenter::vscNextNote_Change(int value)
{
    if (value == 0)
        return;
    QScrollBar *bar = m_window.controlsPanel()->vscNextNote;
    const auto choice = StepNextNote(m_window.controlsPanel()->txtNextNote->text(), value,
                                     m_core.holes.holeCount());
    if (choice)
        m_core.nextNote.setShown(choice->nextNote, choice->text);
    bar->setValue(0);
    if (choice)
        drawRoll();
}

void RollPresenter::txtNextNote_Enter()
{
    const auto choice =
        EnterNextNote(m_window.controlsPanel()->txtNextNote->text(), m_core.holes.holeCount());
    if (!choice)
        return;
    m_core.nextNote.setShown(choice->nextNote, choice->text);
    drawRoll();
}

} // namespace velmora
