#include "remote/remotepanel.h"
#include "remote/remoteview.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace velmora;
using namespace Qt::StringLiterals;

// The remote view's panel forwards the operator's changes and shows the
// address, as a link and as a QR code, only while the view is on.
class TestRemotePanel : public QObject
{
    Q_OBJECT
private slots:
    void turnsTheViewOnAndOff()
    {
        RemoteView view([] { return RemoteStatus(); }, [] { return RollPicture(); });
        view.apply({false, 0, QString()});
        RemotePanel panel(view);
        panel.show();
        QVERIFY(!panel.chkRemote->isChecked() && panel.lblRemoteAddress->isHidden() &&
                panel.picRemoteQr->isHidden());

        panel.chkRemote->click();
        QVERIFY(view.listening());
        const QString address = view.pageAddresses().value(0);
        QVERIFY(address.contains(u"?token="_s + view.settings().token));
        QVERIFY(panel.lblRemoteAddress->text().contains(u"<a href=\"%1\">"_s.arg(address)));
        QVERIFY(panel.picRemoteQr->isVisible() && panel.picRemoteQr->matrix().size >= 21);
        QCOMPARE(panel.lblRemoteStatus->text(), view.statusText());

        panel.cmdRemoteToken->click();
        QVERIFY(!panel.lblRemoteAddress->text().contains(address));

        panel.chkRemote->click();
        QVERIFY(!view.listening() && panel.lblRemoteAddress->isHidden());
    }
};

QTEST_MAIN(TestRemotePanel)
#include "tst_remotepanel.moc"
