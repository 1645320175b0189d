#include "job/jobcontrolspanel.h"

#include "widgetkit/controls.h"
#include "widgetkit/lamp.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace velmora {

namespace {

// Room for the five lines of a file summary, or a refusal wrapped over six.
constexpr int SummaryWidth = 290;
constexpr int SummaryLines = 6;
constexpr int LogWidth = 420;
constexpr int NextNoteWidth = 70;
// The bar of holes punched beside the time to go; the time wraps onto a
// second line rather than widen the frame.
constexpr int PunchedWidth = 110;
// Gap between Start and the stop question under it.
constexpr int StopGap = 3;

} // namespace

JobControlsPanel::JobControlsPanel(QWidget *parent) : QGroupBox(tr("Punch control"), parent)
{
    nameControl(this, u"frmControls"_s);

    txtLog = nameControl(new QPlainTextEdit(this), u"txtLog"_s);
    txtLog->setAccessibleName(tr("Log"));
    txtLog->setReadOnly(true);
    txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtLog->setFixedWidth(LogWidth);

    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(buildButtonColumn());
    layout->addSpacing(6);
    layout->addLayout(buildRollColumn());
    layout->addSpacing(6);
    layout->addWidget(txtLog);
    // The stop question lies over the buttons under Start; it follows Start
    // wherever the layout puts it.
    cmdStart->installEventFilter(this);
}

// The buttons on the left, one under the other, with the stop question.
QLayout *JobControlsPanel::buildButtonColumn()
{
    cmdOpenport = makeButton(this, u"cmdOpenport"_s, tr("Open port"));
    shpOpen = makeLamp(this, u"shpOpen"_s, tr("Port open lamp"));
    cmdStart = makeButton(this, u"cmdStart"_s, tr("Start"));
    cmdPause = makeButton(this, u"cmdPause"_s, tr("Pause"));
    cmdResume = makeButton(this, u"cmdResume"_s, tr("Resume"));
    cmd1Note = makeButton(this, u"cmd1Note"_s, tr("1 punch"));
    cmdStop = makeButton(this, u"cmdStop"_s, tr("Stop"));
    cmdExit = makeButton(this, u"cmdExit"_s, tr("Exit"));
    picStop = buildStopConfirmation();

    auto *buttons = new QVBoxLayout;
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(cmdOpenport, 1);
    portRow->addWidget(shpOpen);
    buttons->addLayout(portRow);
    buttons->addSpacing(6);
    for (QPushButton *button : {cmdStart, cmdPause, cmdResume, cmd1Note, cmdStop}) {
        button->setEnabled(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    return buttons;
}

// The middle: the file summary, the next note, the readiness lamps, and the
// time to go with the holes punched.
QLayout *JobControlsPanel::buildRollColumn()
{
    lblOpened = makeLabel(this, u"lblOpened"_s, QString());
    lblOpened->setFrameShape(QFrame::StyledPanel);
    lblOpened->setFrameShadow(QFrame::Sunken);
    lblOpened->setAutoFillBackground(true);
    lblOpened->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblOpened->setWordWrap(true);
    lblOpened->setMargin(4);
    lblOpened->setFixedWidth(SummaryWidth);
    lblOpened->setMinimumHeight(SummaryLines * lblOpened->fontMetrics().lineSpacing() +
                                2 * lblOpened->margin() + 4);

    lblStartrec = makeLabel(this, u"lblStartrec"_s, tr("Next note is:"));
    txtNextNote = makeEntry(this, u"txtNextNote"_s, tr("Next note"));
    txtNextNote->setFixedWidth(NextNoteWidth);
    lblStartrec->setBuddy(txtNextNote);
    vscNextNote = nameControl(new QScrollBar(Qt::Vertical, this), u"vscNextNote"_s);
    vscNextNote->setAccessibleName(tr("Next note step"));
    vscNextNote->setRange(-1, 1);
    vscNextNote->setSingleStep(1);
    vscNextNote->setPageStep(1);
    vscNextNote->setValue(0);
    vscNextNote->setFixedHeight(txtNextNote->sizeHint().height() + 12);
    auto *nextNoteRow = new QHBoxLayout;
    nextNoteRow->addWidget(lblStartrec);
    nextNoteRow->addWidget(txtNextNote);
    nextNoteRow->addWidget(vscNextNote);
    nextNoteRow->addStretch(1);

    shpCTSc = makeLamp(this, u"shpCTSc"_s, tr("CTS lamp"));
    shpXonc = makeLamp(this, u"shpXonc"_s, tr("Xon lamp"));
    shpXoffc = makeLamp(this, u"shpXoffc"_s, tr("Xoff lamp"));
    auto *lampRow = new QHBoxLayout;
    lampRow->setSpacing(14);
    lampRow->addLayout(lampWithLabel(shpCTSc, makeLabel(this, u"lblCTSc"_s, u"CTS"_s)));
    lampRow->addLayout(lampWithLabel(shpXonc, makeLabel(this, u"lblXonc"_s, u"Xon"_s)));
    lampRow->addLayout(lampWithLabel(shpXoffc, makeLabel(this, u"lblXoffc"_s, u"Xoff"_s)));
    lampRow->addStretch(1);

    lblRemain = makeLabel(this, u"lblRemain"_s, tr("Remaining time"));
    lblRemain->setWordWrap(true);
    lblRemain->setMinimumHeight(2 * lblRemain->fontMetrics().lineSpacing());
    prgPunched = makeProgressBar(this, u"prgPunched"_s, tr("Holes punched"));
    prgPunched->setFormat(u"%v / %m"_s);
    prgPunched->setFixedWidth(PunchedWidth);
    auto *remainRow = new QHBoxLayout;
    remainRow->addWidget(lblRemain, 1);
    remainRow->addWidget(prgPunched, 0, Qt::AlignTop);
    // Label1 belongs to the window's controls but is never shown.
    auto *label1 = makeLabel(this, u"Label1"_s, QString());
    label1->hide();

    auto *middle = new QVBoxLayout;
    middle->addWidget(lblOpened);
    middle->addSpacing(6);
    middle->addLayout(nextNoteRow);
    middle->addLayout(lampRow);
    middle->addSpacing(6);
    middle->addLayout(remainRow);
    middle->addWidget(label1);
    middle->addStretch(1);
    return middle;
}

bool JobControlsPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cmdStart && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        placeStopConfirmation();
    }
    return QGroupBox::eventFilter(watched, event);
}

void JobControlsPanel::placeStopConfirmation()
{
    const QRect start = cmdStart->geometry();
    picStop->setGeometry(start.left(), start.bottom() + 1 + StopGap, start.width(),
                         picStop->sizeHint().height());
    picStop->raise();
}

QFrame *JobControlsPanel::buildStopConfirmation()
{
    auto *panel = nameControl(new QFrame(this), u"picStop"_s);
    panel->setAccessibleName(tr("Stop confirmation"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    panel->setAutoFillBackground(true);

    lblStop = makeLabel(panel, u"lblStop"_s, tr("Really stop?"));
    lblStop->setAlignment(Qt::AlignCenter);
    cmdStopYes = makeButton(panel, u"cmdStopYes"_s, tr("Yes"));
    cmdStopNo = makeButton(panel, u"cmdStopNo"_s, tr("No"));
    for (QPushButton *button : {cmdStopYes, cmdStopNo}) {
        button->setMinimumWidth(0);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    }

    auto *answers = new QHBoxLayout;
    answers->setSpacing(4);
    answers->addWidget(cmdStopYes);
    answers->addWidget(cmdStopNo);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(lblStop);
    layout->addLayout(answers);

    panel->hide();
    return panel;
}

} // namespace velmora
