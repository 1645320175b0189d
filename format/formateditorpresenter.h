#pragma once

#include "format/userformatbuilder.h"

#include <QObject>

class QComboBox;
class QPushButton;

namespace velmora {

class FormatEditor;
class FormatTable;

// The user format editor in the settings panel: "Edit user format" opens it
// with the user format selected, the format list and the panel's Exit
// disabled; picks, adding, removing and storing go to the builder, whose
// state the editor's controls then show; "OK" closes it without storing.
class FormatEditorPresenter : public QObject
{
    Q_OBJECT
public:
    FormatEditorPresenter(FormatTable &formats, FormatEditor &editor, QPushButton &cmdFormat,
                          QComboBox &cboFormats, QPushButton &cmdSettingsExit,
                          QObject *parent = nullptr);

    void openEditor();
    void closeEditor();

    const UserFormatBuilder &builder() const { return m_builder; }

private:
    void showBuilder();

    FormatTable &m_formats;
    FormatEditor &m_editor;
    QPushButton &m_cmdFormat;
    QComboBox &m_cboFormats;
    QPushButton &m_cmdSettingsExit;
    UserFormatBuilder m_builder;
};

} // namespace velmora
