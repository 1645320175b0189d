#include "settings/settingspanel.h"

#include "format/formateditor.h"
#include "format/formattable.h"
#include "link/portcontroller.h"
#include "widgetkit/controls.h"
#include "widgetkit/lamp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

constexpr int CalibrationEntryWidth = 80;
constexpr int DeviceLabelWidth = 190;

QLabel *heading(QWidget *parent, const QString &name, const QString &caption)
{
    QLabel *label = makeLabel(parent, name, caption);
    QFont font = label->font();
    font.setItalic(true);
    label->setFont(font);
    return label;
}

} // namespace

SettingsPanel::SettingsPanel(QWidget *parent) : OverlayPanel(u"picSettings"_s, u"Shape1"_s, parent)
{
    setAccessibleName(tr("Settings panel"));

    frmComset = buildSerialGroup();
    frmFormats = buildFormatGroup();

    txtXcal = makeEntry(this, u"txtXcal"_s, tr("X-calibration"));
    txtYcal = makeEntry(this, u"txtYcal"_s, tr("Y-calibration"));
    auto *lblXcal = makeLabel(this, u"lblXcal"_s, tr("X-calibration (paper)"));
    auto *lblYcal = makeLabel(this, u"lblYcal"_s, tr("Y-calibration (arm)"));
    for (QLineEdit *entry : {txtXcal, txtYcal}) {
        entry->setText(u"1000"_s);
        entry->setFixedWidth(CalibrationEntryWidth);
    }
    lblXcal->setBuddy(txtXcal);
    lblYcal->setBuddy(txtYcal);

    chkRechts = makeCheckBox(this, u"chkRechts"_s, tr("Move roll on screen to right"));
    chkMirror = makeCheckBox(this, u"chkMirror"_s, tr("Display in mirror image"));
    cmdSettingsExit = makeButton(this, u"cmdSettingsExit"_s, tr("Exit"));

    auto *calibration = new QGridLayout;
    calibration->setHorizontalSpacing(24);
    calibration->addWidget(lblXcal, 0, 0);
    calibration->addWidget(txtXcal, 1, 0, Qt::AlignLeft);
    calibration->addWidget(lblYcal, 0, 1);
    calibration->addWidget(txtYcal, 1, 1, Qt::AlignLeft);
    calibration->setColumnStretch(2, 1);

    auto *options = new QVBoxLayout;
    options->addWidget(chkRechts);
    options->addWidget(chkMirror);

    auto *bottom = new QHBoxLayout;
    bottom->addLayout(calibration);
    bottom->addSpacing(24);
    bottom->addLayout(options);
    bottom->addStretch(1);
    bottom->addWidget(cmdSettingsExit, 0, Qt::AlignBottom);

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->addWidget(frmComset);
    layout->addWidget(frmFormats);
    layout->addLayout(bottom);
}

QGroupBox *SettingsPanel::buildSerialGroup()
{
    QGroupBox *group = makeFrame(this, u"frmComset"_s, tr("Serial communication"));

    // The positions the window opens with; the link sets them from then on.
    const PortChoices start = PortChoices::start();

    portChoice = makeChoice(group, u"portChoice"_s, tr("Port"), PortController::portChoiceTexts(),
                            start.port);
    baudChoice = makeChoice(group, u"baudChoice"_s, tr("Baud rate"),
                            PortController::baudChoiceTexts(), start.baud);
    dataBitChoice = makeChoice(group, u"dataBitChoice"_s, tr("Data bits"),
                               PortController::dataBitChoiceTexts(), start.dataBits);
    stopBitChoice = makeChoice(group, u"stopBitChoice"_s, tr("Stop bits"),
                               PortController::stopBitChoiceTexts(), start.stopBits);
    parityChoice = makeChoice(group, u"parityChoice"_s, tr("Parity"),
                              PortController::parityChoiceCaptions(), start.parity);
    cmdConStd = makeButton(group, u"cmdConStd"_s, tr("Standard values"));

    auto *choices = new QGridLayout;
    const std::pair<QString, QString> labels[] = {{u"lblPort"_s, tr("Port")},
                                                  {u"lblBaud"_s, tr("Baud")},
                                                  {u"lblDatabits"_s, tr("Databits")},
                                                  {u"lblStopbits"_s, tr("Stopbits")},
                                                  {u"lblParity"_s, tr("Parity")}};
    QComboBox *const lists[] = {portChoice, baudChoice, dataBitChoice, stopBitChoice, parityChoice};
    for (int row = 0; row < 5; ++row) {
        QLabel *label = makeLabel(group, labels[row].first, labels[row].second);
        label->setBuddy(lists[row]);
        choices->addWidget(label, row, 0);
        choices->addWidget(lists[row], row, 1);
    }
    choices->addWidget(cmdConStd, 5, 0, 1, 2);
    choices->setRowStretch(6, 1);

    // The device the chosen port name leads to, beside the port choice.
    lblDevice = makeLabel(group, u"lblDevice"_s, QString());
    lblDevice->setFixedWidth(DeviceLabelWidth);
    choices->addWidget(lblDevice, 0, 2);

    shpDTR = makeLamp(group, u"shpDTR"_s, tr("DTR lamp"));
    shpRTS = makeLamp(group, u"shpRTS"_s, tr("RTS lamp"));
    chkDTR = makeCheckBox(group, u"chkDTR"_s, tr("force on"));
    chkRTS = makeCheckBox(group, u"chkRTS"_s, tr("force on"));
    chkDTR->setAccessibleName(tr("DTR force on"));
    chkRTS->setAccessibleName(tr("RTS force on"));
    auto *outgoing = new QGridLayout;
    outgoing->setHorizontalSpacing(12);
    outgoing->addWidget(heading(group, u"lblOutgo"_s, tr("outgoing signals")), 0, 0, 1, 2);
    outgoing->addLayout(lampWithLabel(shpDTR, makeLabel(group, u"lblDTR"_s, u"DTR"_s), 1), 1, 0);
    outgoing->addWidget(chkDTR, 1, 1);
    outgoing->addLayout(lampWithLabel(shpRTS, makeLabel(group, u"lblRTS"_s, u"RTS"_s), 1), 2, 0);
    outgoing->addWidget(chkRTS, 2, 1);
    outgoing->setRowStretch(3, 1);

    shpCTS = makeLamp(group, u"shpCTS"_s, tr("CTS lamp"));
    shpDSR = makeLamp(group, u"shpDSR"_s, tr("DSR lamp"));
    shpCD = makeLamp(group, u"shpCD"_s, tr("CD lamp"));
    shpRI = makeLamp(group, u"shpRI"_s, tr("RI lamp"));
    shpXon = makeLamp(group, u"shpXon"_s, tr("Xon lamp"));
    shpXoff = makeLamp(group, u"shpXoff"_s, tr("Xoff lamp"));
    const std::pair<Lamp *, std::pair<QString, QString>> incomingLamps[] = {
        {shpCTS, {u"lblCTS"_s, u"CTS"_s}}, {shpDSR, {u"lblDSR"_s, u"DSR"_s}},
        {shpCD, {u"lblCD"_s, u"CD"_s}},    {shpRI, {u"lblRI"_s, u"RI"_s}},
        {shpXon, {u"lblXon"_s, u"Xon"_s}}, {shpXoff, {u"lblXoff"_s, u"Xoff"_s}}};
    auto *incoming = new QGridLayout;
    incoming->setHorizontalSpacing(18);
    incoming->addWidget(heading(group, u"lblInco"_s, tr("incoming signals")), 0, 0, 1, 2);
    for (int i = 0; i < 6; ++i) {
        const auto &[lamp, label] = incomingLamps[i];
        incoming->addLayout(lampWithLabel(lamp, makeLabel(group, label.first, label.second), 1),
                            1 + i % 4, i / 4);
    }
    incoming->setRowStretch(5, 1);

    auto *layout = new QHBoxLayout(group);
    layout->addLayout(choices);
    layout->addSpacing(28);
    layout->addLayout(outgoing);
    layout->addSpacing(28);
    layout->addLayout(incoming);
    layout->addStretch(1);
    return group;
}

QGroupBox *SettingsPanel::buildFormatGroup()
{
    QGroupBox *group = makeFrame(this, u"frmFormats"_s, tr("Format in use"));

    cboFormats = makeChoice(group, u"cboFormats"_s, tr("Format"), FormatTable::formatNames(), -1);
    cmdFormat = makeButton(group, u"cmdFormat"_s, tr("Edit user format"));
    auto *lblSelectformat = makeLabel(group, u"lblSelectformat"_s, tr("Select format"));
    lblSelectformat->setBuddy(cboFormats);
    lblFormat = makeLabel(group, u"lblFormat"_s, QString());
    lblFormat->setMinimumHeight(lblFormat->fontMetrics().lineSpacing());
    frmNewFormat = new FormatEditor(group);
    // The editor's room is kept while it is hidden, so the panel keeps one
    // size and never reaches past it when the editor opens.
    QSizePolicy policy = frmNewFormat->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    frmNewFormat->setSizePolicy(policy);

    auto *layout = new QGridLayout(group);
    layout->addWidget(lblSelectformat, 0, 0);
    layout->addWidget(cboFormats, 0, 1);
    layout->addWidget(cmdFormat, 0, 2);
    layout->addWidget(lblFormat, 1, 0, 1, 4);
    layout->addWidget(frmNewFormat, 2, 0, 1, 4);
    layout->setColumnStretch(3, 1);
    return group;
}

} // namespace velmora
