#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QPushButton;

namespace velmora {

// The user format editor, frmNewFormat: a field kind and a length are picked,
// added one field at a time, and the result is stored as the user format. The
// frame starts hidden; the format code opens and drives it.
class FormatEditor : public QGroupBox
{
    Q_OBJECT
public:
    explicit FormatEditor(QWidget *parent = nullptr);

    // The field list holds the field kinds in code order, so a kind's
    // position is its field code. The lengths in order: a length's position is its value, 0 =
    // variable.
    static QStringList fieldLengthTexts();

    QComboBox *cmbVeld = nullptr;
    QComboBox *cmblengte = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdRemove = nullptr;
    QPushButton *cmdStore1 = nullptr;
    QPushButton *cmdNewFormatOK = nullptr;
    QLabel *lblNF = nullptr;
};

} // namespace velmora
