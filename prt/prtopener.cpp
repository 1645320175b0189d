#include "prt/prtopener.h"

#include "platform/filechooser.h"
#include "prt/holelist.h"
#include "prt/prtreader.h"

#include <QFileInfo>

namespace velmora {

PrtOpener::PrtOpener(HoleList &holes, FileChooser &chooser, QObject *parent)
    : QObject(parent), m_holes(holes), m_chooser(chooser)
{}

void PrtOpener::openPrtFile()
{
    if (m_choosing)
        return;
    // A dialog that is cancelled or fails reads nothing, so the roll that was
    // loaded before stays loaded.
    const bool wasLoaded = m_fileLoaded;
    m_fileLoaded = false;
    m_holes.hasPons = false;
    m_holes.hasNoot = false;
    m_choosing = true;
    m_chooser.choosePrtFile(m_prtDir, [this, wasLoaded](const FileChoice &choice) {
        m_choosing = false;
        takeChoice(choice, wasLoaded);
    });
}

void PrtOpener::takeChoice(const FileChoice &choice, bool wasLoaded)
{
    if (choice.outcome == FileChoice::Cancelled) {
        m_fileLoaded = wasLoaded;
        return;
    }
    if (choice.outcome == FileChoice::Failed) {
        m_fileLoaded = wasLoaded;
        setLabel(dialogFailedText(), LabelTone::Refusal);
        emit nextNoteReset();
        return;
    }

    m_prtPath = choice.path;
    m_prtDir = QFileInfo(m_prtPath).absolutePath();
    const bool extensionOk = m_prtPath.right(4).toUpper() == QLatin1String(".PRT");

    const PrtReadResult read = PrtReader::readPrtFile(m_prtPath, m_holes);
    m_ascending = read.ascending;
    if (!read.ok()) {
        setLabel(dialogFailedText() + QStringLiteral("\r\n") + read.errorText, LabelTone::Refusal);
    } else if (!extensionOk) {
        setLabel(notPrtFileText(), LabelTone::Refusal);
    } else {
        const Verdict verdict = judgeRoll(m_holes, read.overCapacity);
        setLabel(verdict.text, verdict.tone);
        m_fileLoaded = verdict.accepted;
    }

    if (m_fileLoaded)
        emit nextNoteReset();
    emit rollChanged(m_fileLoaded);
}

void PrtOpener::setLabel(const QString &text, LabelTone tone)
{
    m_labelText = text;
    m_labelTone = tone;
    emit labelChanged(text, tone);
}

} // namespace velmora
