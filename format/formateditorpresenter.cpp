#include "format/formateditorpresenter.h"

#include "common/intent.h"
#include "format/formateditor.h"
#include "format/formattable.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

FormatEditorPresenter::FormatEditorPresenter(FormatTable &formats, FormatEditor &editor,
                                             const IntentGate &gate, QObject *parent)
    : QObject(parent), m_formats(formats), m_editor(editor), m_gate(gate)
{
    connect(editor.cmbVeld, &QComboBox::activated, this,
            [this](int code) { edit([&] { m_builder.pickField(code); }); });
    connect(editor.cmblengte, &QComboBox::activated, this,
            [this](int length) { edit([&] { m_builder.pickLength(length); }); });
    connect(editor.cmdAdd, &QPushButton::clicked, this,
            [this] { edit([this] { m_builder.add(); }); });
    connect(editor.cmdRemove, &QPushButton::clicked, this,
            [this] { edit([this] { m_builder.removeLast(); }); });
    connect(editor.cmdStore1, &QPushButton::clicked, this,
            [this] { edit([this] { m_builder.store(m_formats); }); });
}

void FormatEditorPresenter::setEditorShown(bool shown)
{
    m_editor.setVisible(shown);
    if (!shown)
        return;
    m_builder.open();
    showBuilder();
    // The user format becomes current and shows; no other may be chosen
    // while it is being edited.
    m_formats.selectFormat(0);
    m_editor.cmbVeld->setFocus();
}

void FormatEditorPresenter::edit(const std::function<void()> &change)
{
    if (m_gate.allows(Intent::EditFormat))
        change();
    showBuilder();
}

void FormatEditorPresenter::showBuilder()
{
    for (const auto &[list, position] : {std::pair{m_editor.cmbVeld, m_builder.pickedField()},
                                         std::pair{m_editor.cmblengte, m_builder.pickedLength()}}) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(position);
    }
    m_editor.cmblengte->setVisible(m_builder.lengthListShown());
    m_editor.cmdAdd->setEnabled(m_builder.addEnabled());
    m_editor.lblNF->setText(m_builder.description());
}

} // namespace velmora
