#include "roll/rollpresenter.h"

#include "job/jobcontrolspanel.h"
#include "prt/holelist.h"
#include "prt/prtopener.h"
#include "roll/displayoptions.h"
#include "roll/nextnote.h"
#include "roll/nextnotestate.h"
#include "roll/rollgeometry.h"
#include "roll/rollpreview.h"
#include "roll/rollview.h"
#include "settings/settingspanel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>

namespace velmora {

RollPresenter::RollPresenter(const HoleList &holes, const PrtOpener &opener,
                             NextNoteState &nextNote, DisplayOptions &display, RollView &view,
                             JobControlsPanel &controls, SettingsPanel &settings, QObject *parent)
    : QObject(parent), m_holes(holes), m_opener(opener), m_nextNote(nextNote), m_display(display),
      m_view(view), m_controls(controls)
{
    connect(&view, &RollView::resized, this, &RollPresenter::redraw);
    connect(&opener, &PrtOpener::rollChanged, this, &RollPresenter::redraw);
    QLineEdit *entry = controls.txtNextNote;
    connect(&nextNote, &NextNoteState::changed, entry,
            [entry](qint32, const QString &text) { entry->setText(text); });
    connect(controls.vscNextNote, &QScrollBar::valueChanged, this, &RollPresenter::stepNextNote);
    connect(entry, &QLineEdit::returnPressed, this, &RollPresenter::enterNextNote);
    QCheckBox *right = settings.chkRechts;
    QCheckBox *mirror = settings.chkMirror;
    connect(right, &QCheckBox::clicked, &display, &DisplayOptions::setRight);
    connect(mirror, &QCheckBox::clicked, &display, &DisplayOptions::setMirror);
    connect(&display, &DisplayOptions::rightChanged, right, &QCheckBox::setChecked);
    connect(&display, &DisplayOptions::mirrorChanged, mirror, &QCheckBox::setChecked);
    connect(&display, &DisplayOptions::rightChanged, this, [this] {
        if (m_opener.fileLoaded())
            drawRoll();
    });
    clearRoll();
}

void RollPresenter::drawRoll()
{
    const QSize size = m_view.innerSize();
    m_view.setShapes(drawRollShapes(
        m_holes, previewRequest(m_opener, m_nextNote, m_display, size.width(), size.height())));
}

void RollPresenter::clearRoll()
{
    const QSize size = m_view.innerSize();
    m_view.setShapes(emptyRollShapes(size.width(), size.height()));
}

void RollPresenter::redraw()
{
    const QSize size = m_view.innerSize();
    m_view.setShapes(
        previewShapes(m_holes, m_opener, m_nextNote, m_display, size.width(), size.height()));
}

void RollPresenter::stepNextNote(int value)
{
    if (value == 0)
        return;
    const auto choice =
        velmora::stepNextNote(m_controls.txtNextNote->text(), value, m_holes.holeCount());
    if (choice)
        m_nextNote.setShown(choice->nextNote, choice->text);
    m_controls.vscNextNote->setValue(0);
    if (choice)
        drawRoll();
}

void RollPresenter::enterNextNote()
{
    const auto choice = velmora::enterNextNote(m_controls.txtNextNote->text(), m_holes.holeCount());
    if (!choice)
        return;
    m_nextNote.setShown(choice->nextNote, choice->text);
    drawRoll();
}

} // namespace velmora
