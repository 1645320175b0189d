#include "extras/extrasettingsdialog.h"

#include "remote/remotepanel.h"
#include "widgetkit/controls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace velmora {

ExtraSettingsDialog::ExtraSettingsDialog(QWidget *parent) : QDialog(parent)
{
    nameControl(this, u"dlgExtraSettings"_s);
    setWindowTitle(tr("Extra settings"));

    QGroupBox *events = makeFrame(this, u"frmEvents"_s, tr("Commands run when a job ends"));
    auto *form = new QFormLayout(events);
    const struct
    {
        JobEvent event;
        QString name;
        QString caption;
    } rows[] = {
        {JobEvent::Completed, u"Completed"_s, tr("Roll completed")},
        {JobEvent::Stopped, u"Stopped"_s, tr("Stopped with Stop")},
        {JobEvent::ControllerStop, u"ControllerStop"_s, tr("Stopped by the controller")},
        {JobEvent::PortLost, u"PortLost"_s, tr("Port lost, job paused")},
    };
    for (const auto &row : rows) {
        QLineEdit *entry = makeEntry(events, u"txtEvent"_s + row.name, row.caption);
        form->addRow(makeLabel(events, u"lblEvent"_s + row.name, row.caption), entry);
        m_entries[std::size_t(row.event)] = entry;
    }
    QLabel *help = makeLabel(events, u"lblEventHelp"_s,
                             tr("A program and its arguments, run without a shell. Put an "
                                "argument with blanks in double quotes. In the arguments, "
                                "%event, %roll, %name, %hole, %holes and %sent stand for the "
                                "job's facts; they are in VELMORA_EVENT, VELMORA_ROLL, ... too. "
                                "Leave a line empty to run nothing."));
    help->setWordWrap(true);
    form->addRow(help);

    // The window is built in its language at start-up, so a new choice waits
    // for the next start; each language is named in its own words.
    QGroupBox *window = makeFrame(this, u"frmWindow"_s, tr("Window"));
    cboLanguage = makeChoice(window, u"cboLanguage"_s, tr("Language"),
                             {tr("As the desktop"), u"Nederlands"_s, u"English"_s}, 0);
    auto *language = new QFormLayout(window);
    QLabel *lblLanguage = makeLabel(window, u"lblLanguage"_s, tr("Language"));
    lblLanguage->setBuddy(cboLanguage);
    language->addRow(lblLanguage, cboLanguage);
    language->addRow(makeLabel(window, u"lblLanguageNext"_s, tr("Applies at the next start.")));

    lblExtraFile = makeLabel(this, u"lblExtraFile"_s, QString());
    lblExtraFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdExtraOK = makeButton(this, u"cmdExtraOK"_s, tr("OK"));
    cmdExtraCancel = makeButton(this, u"cmdExtraCancel"_s, tr("Cancel"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdExtraOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdExtraCancel, QDialogButtonBox::RejectRole);
    cmdExtraOK->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(events);
    layout->addWidget(window);
    layout->addWidget(lblExtraFile);
    layout->addWidget(buttons);
    setMinimumWidth(560);
}

void ExtraSettingsDialog::setRemotePanel(RemotePanel *panel)
{
    m_remotePanel = panel;
    QGroupBox *frame = makeFrame(this, u"frmRemote"_s, tr("Remote view"));
    QLabel *note = makeLabel(frame, u"lblRemoteNote"_s,
                             tr("These controls act at once; OK and Cancel concern the commands "
                                "and the language above only."));
    note->setWordWrap(true);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(panel);
    layout->addWidget(note);
    // Between the language and the line naming the file.
    static_cast<QVBoxLayout *>(this->layout())->insertWidget(2, frame, 1);
}

void ExtraSettingsDialog::showValues(const ExtraValues &values, const QString &filePath)
{
    for (const JobEvent event : AllJobEvents)
        entry(event)->setText(values.command(event));
    cboLanguage->setCurrentIndex(int(values.language));
    lblExtraFile->setText(tr("Kept in %1").arg(filePath));
}

ExtraValues ExtraSettingsDialog::editedValues(ExtraValues inUse) const
{
    for (const JobEvent event : AllJobEvents)
        inUse.command(event) = entry(event)->text().trimmed();
    inUse.language = UiLanguage(std::max(cboLanguage->currentIndex(), 0));
    return inUse;
}

} // namespace velmora
