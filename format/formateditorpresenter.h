#pragma once

#include "format/userformatbuilder.h"

#include <QObject>

namespace velmora {

class FormatEditor;
class FormatTable;
class IntentGate;

// The user format editor in the settings panel: opened (by "Edit user
// format", through the window state) with the user format selected; picks,
// adding, removing and storing go to the builder while the window allows
// editing, and its controls then show the builder's state.
class FormatEditorPresenter : public QObject
{
    Q_OBJECT
public:
    FormatEditorPresenter(FormatTable &formats, FormatEditor &editor, const IntentGate &gate,
                          QObject *parent = nullptr);

    // The editor came or went.
    void setEditorShown(bool shown);

    const UserFormatBuilder &builder() const { return m_builder; }

private:
    // Runs an edit when the window allows it, then shows the builder.
    void edit(const std::function<void()> &change);
    void showBuilder();

    FormatTable &m_formats;
    FormatEditor &m_editor;
    const IntentGate &m_gate;
    UserFormatBuilder m_builder;
};

} // namespace velmora
