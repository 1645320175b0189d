#include "link/linkpresenter.h"

#include "job/jobcontrolspanel.h"
#include "link/commevents.h"
#include "link/portcontroller.h"
#include "settings/settingspanel.h"
#include "widgetkit/lamp.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>

using namespace Qt::StringLiterals;

namespace velmora {

LinkPresenter::LinkPresenter(PortController &port, LinkLamps &lamps, CommEvents &events,
                             SettingsPanel &settingsPanel, JobControlsPanel &controls,
                             const IntentGate &gate, QWidget &window)
    : QObject(&window), m_port(port), m_events(events), m_settings(settingsPanel),
      m_controls(controls), m_gate(gate), m_window(window)
{
    SettingsPanel *settings = &settingsPanel;

    const std::pair<QComboBox *, void (PortController::*)(int)> lists[] = {
        {settings->portChoice, &PortController::choosePort},
        {settings->baudChoice, &PortController::chooseBaud},
        {settings->parityChoice, &PortController::chooseParity},
        {settings->dataBitChoice, &PortController::chooseDataBits},
        {settings->stopBitChoice, &PortController::chooseStopBits}};
    // std::invoke rather than ".*": GCC 12 with the sanitizers takes a member
    // pointer called inside these lambdas for uninitialised.
    for (const auto &[list, choose] : lists) {
        connect(list, &QComboBox::activated, this, [this, choose = choose](int position) {
            changeSetting([&] { std::invoke(choose, m_port, position); });
        });
    }
    connect(settings->cmdConStd, &QPushButton::clicked, this,
            [this] { changeSetting([this] { m_port.applyStandardValues(); }); });
    const std::pair<QCheckBox *, void (PortController::*)(bool)> boxes[] = {
        {settings->chkDTR, &PortController::setForceDtr},
        {settings->chkRTS, &PortController::setForceRts}};
    for (const auto &[box, force] : boxes) {
        connect(box, &QCheckBox::toggled, this, [this, force = force](bool checked) {
            changeSetting([&] { std::invoke(force, m_port, checked); });
        });
    }
    connect(&port, &PortController::choicesChanged, this, &LinkPresenter::showChoices);

    // The device shown follows the port choice and is looked up again when
    // the panel opens and at every open, as adapters come and go.
    connect(&port, &PortController::choicesChanged, this, &LinkPresenter::showDevice);
    connect(&port, &PortController::portStateChanged, this, &LinkPresenter::showDevice);

    connect(controls.cmdOpenport, &QPushButton::clicked, this, &LinkPresenter::openPortRequested);

    connect(&lamps, &LinkLamps::lampChanged, this, &LinkPresenter::showLamp);

    qApp->installEventFilter(this);

    showChoices();
    showDevice();
}

void LinkPresenter::openPortRequested()
{
    // The window allows it without a job, and during one only once the port
    // was lost: then the paused job waits for it to be opened again.
    if (!m_gate.allows(Intent::OpenPort))
        return;
    m_port.openPort();
    emit statusRefreshNeeded();
}

void LinkPresenter::changeSetting(const std::function<void()> &change)
{
    if (m_gate.allows(Intent::ChangeSettings))
        change();
    else
        showChoices();
}

QString LinkPresenter::deviceText(const PortResolution &resolution)
{
    if (!resolution.ok())
        return tr("No device present");
    return resolution.device + (resolution.mapped ? u" (ports.map)"_s : QString());
}

void LinkPresenter::showDevice()
{
    const PortResolution resolution = m_port.resolveChosenPort();
    QLabel *label = m_settings.lblDevice;
    const QString text = deviceText(resolution);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
    label->setToolTip(resolution.ok() ? text : resolution.problemCaption);
    label->setAccessibleName(text);
}

void LinkPresenter::showChoices()
{
    SettingsPanel *settings = &m_settings;
    const PortController &controller = m_port;
    const PortChoices &choices = controller.choices();
    const std::pair<QComboBox *, int> lists[] = {{settings->portChoice, choices.port},
                                                 {settings->baudChoice, choices.baud},
                                                 {settings->parityChoice, choices.parity},
                                                 {settings->dataBitChoice, choices.dataBits},
                                                 {settings->stopBitChoice, choices.stopBits}};
    for (const auto &[list, position] : lists) {
        const QSignalBlocker blocker(list);
        list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
    }
    for (const auto &[box, checked] : {std::pair{settings->chkDTR, controller.forceDtr()},
                                       std::pair{settings->chkRTS, controller.forceRts()}}) {
        const QSignalBlocker blocker(box);
        box->setChecked(checked);
    }
}

QList<Lamp *> LinkPresenter::lampsOf(LinkLamp lamp) const
{
    const SettingsPanel *settings = &m_settings;
    const JobControlsPanel *controls = &m_controls;
    switch (lamp) {
    case LinkLamp::Open:
        return {controls->shpOpen};
    case LinkLamp::Dtr:
        return {settings->shpDTR};
    case LinkLamp::Rts:
        return {settings->shpRTS};
    case LinkLamp::Cts:
        return {settings->shpCTS, controls->shpCTSc};
    case LinkLamp::Dsr:
        return {settings->shpDSR};
    case LinkLamp::Cd:
        return {settings->shpCD};
    case LinkLamp::Ri:
        return {settings->shpRI};
    case LinkLamp::Xon:
        return {settings->shpXon, controls->shpXonc};
    case LinkLamp::Xoff:
        return {settings->shpXoff, controls->shpXoffc};
    }
    return {};
}

void LinkPresenter::showLamp(LinkLamp lamp, LampColor color)
{
    for (Lamp *shape : lampsOf(lamp))
        shape->setColor(QColor(color.red, color.green, color.blue));
}

bool LinkPresenter::keysActWith(const QWidget *focus)
{
    if (focus == nullptr)
        return true;
    if (qobject_cast<const QLineEdit *>(focus) || qobject_cast<const QPlainTextEdit *>(focus) ||
        qobject_cast<const QTextEdit *>(focus) || qobject_cast<const QAbstractSpinBox *>(focus))
        return false;
    const auto *list = qobject_cast<const QComboBox *>(focus);
    return list == nullptr || !list->isEditable();
}

bool LinkPresenter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (widget == nullptr || widget->window() != &m_window)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    if (text != u"c"_s && text != u"r"_s)
        return false;
    if (!keysActWith(QApplication::focusWidget()))
        return false;
    m_events.keyPressed(text.front());
    key->accept();
    return true;
}

} // namespace velmora
