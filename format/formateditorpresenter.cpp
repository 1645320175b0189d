#include "format/formateditorpresenter.h"

#include "format/formateditor.h"
#include "format/formattable.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace velmora {

FormatEditorPresenter::FormatEditorPresenter(FormatTable &formats, FormatEditor &editor,
                                             QPushButton &cmdFormat, QComboBox &cboFormats,
                                             QPushButton &cmdSettingsExit, QObject *parent)
    : QObject(parent), m_formats(formats), m_editor(editor), m_cmdFormat(cmdFormat),
      m_cboFormats(cboFormats), m_cmdSettingsExit(cmdSettingsExit)
{
    connect(&cmdFormat, &QPushButton::clicked, this, &FormatEditorPresenter::openEditor);
    connect(editor.cmbVeld, &QComboBox::activated, this, [this](int code) {
        m_builder.pickField(code);
        showBuilder();
    });
    connect(editor.cmblengte, &QComboBox::activated, this, [this](int length) {
        m_builder.pickLength(length);
        showBuilder();
    });
    connect(editor.cmdAdd, &QPushButton::clicked, this, [this] {
        m_builder.add();
        showBuilder();
    });
    connect(editor.cmdRemove, &QPushButton::clicked, this, [this] {
        m_builder.removeLast();
        showBuilder();
    });
    connect(editor.cmdStore1, &QPushButton::clicked, this, [this] { m_builder.store(m_formats); });
    connect(editor.cmdNewFormatOK, &QPushButton::clicked, this,
            &FormatEditorPresenter::closeEditor);
}

void FormatEditorPresenter::openEditor()
{
    m_builder.open();
    showBuilder();
    m_editor.show();
    m_cmdFormat.setEnabled(false);
    m_cmdSettingsExit.setEnabled(false);
    // The user format becomes current and shows; no other may be chosen
    // while it is being edited.
    m_formats.selectFormat(0);
    m_cboFormats.setEnabled(false);
    m_editor.cmbVeld->setFocus();
}

void FormatEditorPresenter::closeEditor()
{
    m_editor.hide();
    m_cmdFormat.setEnabled(true);
    m_cmdSettingsExit.setEnabled(true);
    m_cboFormats.setEnabled(true);
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
