#pragma once

#include <QGroupBox>

class QFrame;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QScrollBar;

namespace velmora {

class Lamp;

// The frame of main controls, frmControls: the port button, the job buttons
// with the stop confirmation, the next-note controls, the flow-control lamps,
// the file summary, the remaining time with the holes punched, and the log.
// It only holds the controls; the job, the link and the file opening drive
// them.
class JobControlsPanel : public QGroupBox
{
    Q_OBJECT
public:
    explicit JobControlsPanel(QWidget *parent = nullptr);

    QPushButton *cmdOpenport = nullptr;
    Lamp *shpOpen = nullptr;

    QPushButton *cmdStart = nullptr;
    QPushButton *cmdPause = nullptr;
    QPushButton *cmdResume = nullptr;
    QPushButton *cmd1Note = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdExit = nullptr;

    // The stop confirmation, hidden until Stop is pressed. It lies over the
    // buttons under Start while shown.
    QFrame *picStop = nullptr;
    QLabel *lblStop = nullptr;
    QPushButton *cmdStopYes = nullptr;
    QPushButton *cmdStopNo = nullptr;

    QLabel *lblStartrec = nullptr;
    QLineEdit *txtNextNote = nullptr;
    QScrollBar *vscNextNote = nullptr;

    Lamp *shpCTSc = nullptr;
    Lamp *shpXonc = nullptr;
    Lamp *shpXoffc = nullptr;

    QLabel *lblOpened = nullptr;
    QLabel *lblRemain = nullptr;
    // Holes punched in this job out of those it has to punch.
    QProgressBar *prgPunched = nullptr;
    QPlainTextEdit *txtLog = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLayout *buildButtonColumn();
    QLayout *buildRollColumn();
    QFrame *buildStopConfirmation();
    void placeStopConfirmation();
};

} // namespace velmora
