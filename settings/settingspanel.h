#pragma once

#include "widgetkit/overlaypanel.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora {

class FormatEditor;
class Lamp;

// The settings panel, picSettings, which lies over the top-left corner of the
// window while it is shown: the serial group (port choices, handshake lines
// and their lamps), the format group with the user format editor, the two
// calibration entries and the two display options. Its border shape is
// Shape1. It only holds the controls; the settings, link and format code
// drive them.
class SettingsPanel : public OverlayPanel
{
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget *parent = nullptr);

    // Serial group, frmComset.
    QGroupBox *frmComset = nullptr;
    QComboBox *portChoice = nullptr;
    QComboBox *baudChoice = nullptr;
    QComboBox *parityChoice = nullptr;
    QComboBox *dataBitChoice = nullptr;
    QComboBox *stopBitChoice = nullptr;
    QPushButton *cmdConStd = nullptr;
    // The device the chosen port name resolves to, or that none is present.
    QLabel *lblDevice = nullptr;
    QCheckBox *chkDTR = nullptr;
    QCheckBox *chkRTS = nullptr;
    Lamp *shpDTR = nullptr;
    Lamp *shpRTS = nullptr;
    Lamp *shpCTS = nullptr;
    Lamp *shpDSR = nullptr;
    Lamp *shpCD = nullptr;
    Lamp *shpRI = nullptr;
    Lamp *shpXon = nullptr;
    Lamp *shpXoff = nullptr;

    // Format group, frmFormats.
    QGroupBox *frmFormats = nullptr;
    QComboBox *cboFormats = nullptr;
    QPushButton *cmdFormat = nullptr;
    QLabel *lblFormat = nullptr;
    FormatEditor *frmNewFormat = nullptr;

    QLineEdit *txtXcal = nullptr;
    QLineEdit *txtYcal = nullptr;
    QCheckBox *chkRechts = nullptr;
    QCheckBox *chkMirror = nullptr;
    QPushButton *cmdSettingsExit = nullptr;

private:
    QGroupBox *buildSerialGroup();
    QGroupBox *buildFormatGroup();
};

} // namespace velmora
