#include "roll/rollpresenter.h"

#include "common/intent.h"
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
#include <QSignalBlocker>

namespace velmora {

RollPresenter::RollPresenter(const HoleList &holes, const PrtOpener &opener,
                             NextNoteState &nextNote, DisplayOptions &display, RollView &view,
                             JobControlsPanel &controls, SettingsPanel &settings,
                             const IntentGate &gate, QObject *parent)
    : QObject(parent), m_holes(holes), m_opener(opener), m_nextNote(nextNote), m_display(display),
      m_view(view), m_controls(controls), m_settings(settings), m_gate(gate)
{
    connect(&view, &RollView::resized, this, &RollPresenter::redraw);
    connect(&opener, &PrtOpener::rollChanged, this, &RollPresenter::redraw);
    QLineEdit *entry = controls.txtNextNote;
    connect(&nextNote, &NextNoteState::changed, entry,
            [entry](qint32, const QString &text) { entry->setText(text); });
    connect(controls.vscNextNote, &QScrollBar::valueChanged, this, &RollPresenter::stepNextNote);
    // Only Enter takes a typed next note.
    connect(entry, &QLineEdit::returnPressed, this, &RollPresenter::enterNextNote);

    connect(settings.chkRechts, &QCheckBox::toggled, this,
            [this](bool checked) { changeDisplay([&] { m_display.setRight(checked); }); });
    connect(settings.chkMirror, &QCheckBox::toggled, this,
            [this](bool checked) { changeDisplay([&] { m_display.setMirror(checked); }); });
    connect(&display, &DisplayOptions::rightChanged, this, &RollPresenter::showDisplayOptions);
    connect(&display, &DisplayOptions::mirrorChanged, this, &RollPresenter::showDisplayOptions);
    connect(&display, &DisplayOptions::rightChanged, this, [this] {
        if (m_opener.fileLoaded())
            drawRoll();
    });
    clearRoll();
}

void RollPresenter::changeDisplay(const std::function<void()> &change)
{
    if (m_gate.allows(Intent::ChangeSettings))
        change();
    else
        showDisplayOptions();
}

void RollPresenter::showDisplayOptions()
{
    for (const auto &[box, checked] : {std::pair{m_settings.chkRechts, m_display.right()},
                                       std::pair{m_settings.chkMirror, m_display.mirror()}}) {
        const QSignalBlocker blocker(box);
        box->setChecked(checked);
    }
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
    {
        // The bar goes back to rest at once; that is no step of its own.
        const QSignalBlocker blocker(m_controls.vscNextNote);
        m_controls.vscNextNote->setValue(0);
    }
    if (!m_gate.allows(Intent::ChooseNextNote))
        return;
    const auto choice =
        velmora::stepNextNote(m_controls.txtNextNote->text(), value, m_holes.holeCount());
    if (!choice)
        return;
    m_nextNote.setShown(choice->nextNote, choice->text);
    drawRoll();
}

void RollPresenter::enterNextNote()
{
    if (!m_gate.allows(Intent::ChooseNextNote))
        return;
    const auto choice = velmora::enterNextNote(m_controls.txtNextNote->text(), m_holes.holeCount());
    if (!choice)
        return;
    m_nextNote.setShown(choice->nextNote, choice->text);
    drawRoll();
}

} // namespace velmora
