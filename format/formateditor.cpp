#include "format/formateditor.h"

#include "format/outputformat.h"
#include "widgetkit/controls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace velmora {

FormatEditor::FormatEditor(QWidget *parent) : QGroupBox(tr("User format"), parent)
{
    nameControl(this, u"frmNewFormat"_s);

    // Both lists take picks only: a typed text would never be accepted.
    cmbVeld = makeChoice(this, u"cmbVeld"_s, tr("Field"), fieldCaptions(), -1);
    cmblengte = makeChoice(this, u"cmblengte"_s, tr("Field length"), fieldLengthTexts(), -1);
    cmbVeld->setMaxVisibleItems(FieldCodeCount);
    auto *lblVeld = makeLabel(this, u"lblVeld"_s, tr("Field"));
    auto *lblLen = makeLabel(this, u"lblLen"_s, tr("Field length (output)"));
    lblVeld->setBuddy(cmbVeld);
    lblLen->setBuddy(cmblengte);

    cmdAdd = makeButton(this, u"cmdAdd"_s, tr("Add field to format"));
    cmdRemove = makeButton(this, u"cmdRemove"_s, tr("Remove last field"));
    cmdStore1 = makeButton(this, u"cmdStore1"_s, tr("Store format"));
    cmdNewFormatOK = makeButton(this, u"cmdNewFormatOK"_s, tr("OK"));

    lblNF = makeLabel(this, u"lblNF"_s, QString());
    lblNF->setWordWrap(true);
    lblNF->setMinimumHeight(2 * lblNF->fontMetrics().lineSpacing());
    lblNF->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *layout = new QGridLayout(this);
    layout->addWidget(lblVeld, 0, 0);
    layout->addWidget(lblLen, 0, 1);
    layout->addWidget(cmbVeld, 1, 0);
    layout->addWidget(cmblengte, 1, 1);
    layout->addWidget(cmdAdd, 1, 2);
    layout->addWidget(cmdRemove, 1, 3);
    layout->addWidget(lblNF, 2, 0, 1, 3);
    layout->addWidget(cmdStore1, 3, 2);
    layout->addWidget(cmdNewFormatOK, 3, 3);

    hide();
}

QStringList FormatEditor::fieldLengthTexts()
{
    return {tr("variable"), u"1"_s, u"2"_s, u"3"_s, u"4"_s, u"5"_s, u"6"_s, u"7"_s, u"8"_s};
}

} // namespace velmora
