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
    // The roll loaded before stays loaded, drawn and startable while the
    // dialog shows, and after a dialog that is cancelled or fails: only a
    // chosen file replaces it.
    m_choosing = true;
    m_chooser.choosePrtFile(m_prtDir, [this](const FileChoice &choice) {
        m_choosing = false;
        takeChoice(choice);
    });
}

void PrtOpener::takeChoice(const FileChoice &choice)
{
    if (choice.outcome == FileChoice::Cancelled)
        return;
    if (choice.outcome == FileChoice::Failed) {
        setLabel(dialogFailedText(), LabelTone::Refusal);
        emit nextNoteReset();
        return;
    }

    m_fileLoaded = false;
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
