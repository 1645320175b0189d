#pragma once

#include "prt/rollsummary.h"

#include <QObject>
#include <QString>

namespace velmora {

class FileChooser;
class HoleList;
struct FileChoice;

// File, Open: asks for a PRT file, reads it into the hole list, judges it and
// says what the file label shows. A roll that passes becomes the loaded roll.
class PrtOpener : public QObject
{
    Q_OBJECT
public:
    PrtOpener(HoleList &holes, FileChooser &chooser, QObject *parent = nullptr);

    // Shows the file dialog; the rest of the open runs once it has an answer.
    // A second call while the dialog is showing does nothing. Until a file is
    // chosen the loaded roll stays loaded.
    void openPrtFile();

    bool fileLoaded() const { return m_fileLoaded; }
    // The loaded holes stand in ascending X-begin order.
    bool holesAscending() const { return m_ascending; }
    QString prtPath() const { return m_prtPath; }
    // The folder the dialog opens in; the parameter file keeps it.
    QString prtDir() const { return m_prtDir; }
    void setPrtDir(const QString &dir) { m_prtDir = dir; }
    QString labelText() const { return m_labelText; }
    LabelTone labelTone() const { return m_labelTone; }

signals:
    void labelChanged(const QString &text, velmora::LabelTone tone);
    // The next note goes back to the first hole; the entry shows "1".
    void nextNoteReset();
    // A file was read: the preview is redrawn (the roll when fileLoaded, else
    // only its centre line) and Start follows fileLoaded and the port.
    void rollChanged(bool fileLoaded);

private:
    void takeChoice(const FileChoice &choice);
    void setLabel(const QString &text, LabelTone tone);

    HoleList &m_holes;
    FileChooser &m_chooser;
    bool m_choosing = false;
    bool m_fileLoaded = false;
    bool m_ascending = true;
    QString m_prtPath;
    QString m_prtDir;
    QString m_labelText;
    LabelTone m_labelTone = LabelTone::Summary;
};

} // namespace velmora
