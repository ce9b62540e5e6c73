// The progress window: its percentage text, the owner it disables, the events it lets run and
// its Cancel button.

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "base/ui/ProgressDialog.h"
#include "app/ui/QtPlatform.h"

class ProgressDialogTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithItsCaptionAndZeroPercent()
    {
        ProgressDialog plain;
        QCOMPARE(plain.windowTitle(), QString("Please Wait..."));
        QCOMPARE(plain.percentLabelText(), QString(" 0 %"));
        QCOMPARE(plain.statusLabelText(), QString());
        ProgressDialog named("Writing SCASM File...");
        QCOMPARE(named.windowTitle(), QString("Writing SCASM File..."));
        named.SetTitle("Saving Altitude Data Records...");
        named.SetStatus("chunk 3");
        QCOMPARE(named.windowTitle(), QString("Saving Altitude Data Records..."));
        QCOMPARE(named.statusLabelText(), QString("chunk 3"));
    }

    void percentageFollowsEveryKindOfPositionChange()
    {
        ProgressDialog dialog;
        dialog.setUpdateInterval(0);
        dialog.SetRange(0, 7);
        dialog.SetStep(1);
        QStringList shown;
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(dialog.StepIt(), i);
            shown << dialog.percentLabelText();
        }
        QCOMPARE(shown, (QStringList{"14%", "28%", "42%", "57%", "71%", "85%", "100%"}));
        QCOMPARE(dialog.progressBar()->value(), 7);

        dialog.SetRange(0, 100);
        dialog.SetPos(150);  // beyond the range wraps with the bar
        QCOMPARE(dialog.percentLabelText(), QString("50%"));
        QCOMPARE(dialog.progressBar()->value(), 100);
        QCOMPARE(dialog.OffsetPos(-100), 150);
        QCOMPARE(dialog.percentLabelText(), QString("50%"));
        dialog.SetPos(100);
        QCOMPARE(dialog.percentLabelText(), QString("100%"));

        dialog.SetRange(10, 20);
        dialog.SetPos(15);
        QCOMPARE(dialog.percentLabelText(), QString("50%"));

        dialog.SetRange(5, 5);  // an empty range must not fail
        dialog.SetPos(5);
        dialog.StepIt();
        QVERIFY(!dialog.percentLabelText().isEmpty());
    }

    void cancelOnlySetsAFlagThatIsReadOnce()
    {
        ProgressDialog dialog;
        dialog.Create(nullptr);
        QVERIFY(!dialog.CheckCancelButton());   // the operation can stop: Cancel is offered
        QVERIFY(dialog.cancelButton()->isVisible());
        dialog.cancelButton()->click();
        dialog.cancelButton()->click();
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.CheckCancelButton());
        QVERIFY(!dialog.CheckCancelButton());
        // Escape counts as Cancel and keeps the window too.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.CheckCancelButton());
    }

    void cancelIsOfferedOnlyToOperationsThatAskForIt()
    {
        ProgressDialog dialog("Loading TexRelief Chunks...");
        dialog.Create(nullptr);
        dialog.SetRange(0, 10);
        dialog.SetStep(1);
        for (int i = 0; i < 10; ++i)
            dialog.StepIt();
        QVERIFY(!dialog.cancelButton()->isVisible());
        dialog.CheckCancelButton();
        QVERIFY(dialog.cancelButton()->isVisible());
        // Room for the button: it lies inside the window and does not cover the bar.
        QVERIFY(dialog.rect().contains(dialog.cancelButton()->geometry()));
        QVERIFY(!dialog.cancelButton()->geometry().intersects(dialog.progressBar()->geometry()));
    }

    void windowIsWideEnoughForItsCaptionAndStatus()
    {
        const QStringList captions = {"Please Wait...", "Saving Altitude Data Records...",
                                      "Please wait...Preparing Textures...",
                                      "A caption far longer than any of the program's own captions ever is"};
        for (const QString& caption : captions) {
            ProgressDialog dialog(caption.toStdString());
            dialog.Create(nullptr);
            const QFontMetrics metrics(dialog.font());
            QVERIFY2(dialog.width() >= metrics.horizontalAdvance(caption) + 100, qPrintable(caption));
            QVERIFY(dialog.width() >= 300);
        }
        ProgressDialog dialog("Short");
        dialog.Create(nullptr);
        const QString status = "A status line that is much longer than the window was at first, really";
        dialog.SetStatus(status.toStdString());
        QVERIFY(dialog.width() >= QFontMetrics(dialog.font()).horizontalAdvance(status));
        QCOMPARE(dialog.statusLabelText(), status);
    }

    void disablesItsOwnerWhileOpen()
    {
        QMainWindow owner;
        owner.show();
        {
            ProgressDialog dialog;
            QVERIFY(dialog.Create(&owner));
            QVERIFY(!owner.isEnabled());
            QVERIFY(dialog.isEnabled());
            QVERIFY(dialog.isVisible());
            QVERIFY(dialog.parentDisabled());
        }
        QVERIFY(owner.isEnabled());

        // An owner that was disabled already stays disabled afterwards.
        owner.setEnabled(false);
        {
            ProgressDialog dialog;
            QVERIFY(dialog.Create(&owner));
            QVERIFY(!dialog.parentDisabled());
        }
        QVERIFY(!owner.isEnabled());
        owner.setEnabled(true);

        // A child widget as owner disables its top-level window; Destroy enables it at once and can
        // be repeated.
        auto* child = new QWidget;
        owner.setCentralWidget(child);
        ProgressDialog dialog;
        dialog.Create(child);
        QVERIFY(!owner.isEnabled());
        dialog.Destroy();
        QVERIFY(owner.isEnabled());
        dialog.Destroy();
        QVERIFY(owner.isEnabled());
    }

    void manyFastStepsEndWithTheFullBar()
    {
        ProgressDialog dialog;
        dialog.SetRange(0, 200000);
        dialog.SetStep(1);
        for (int i = 0; i < 200000; ++i)
            dialog.StepIt();
        QCOMPARE(dialog.progressBar()->value(), 200000);
        QCOMPARE(dialog.percentLabelText(), QString("100%"));
    }

    void pendingEventsRunAtEachUpdate()
    {
        ProgressDialog dialog;
        dialog.setUpdateInterval(0);
        int ran = 0;
        QTimer::singleShot(0, this, [&ran] { ++ran; });
        dialog.StepIt();
        QCOMPARE(ran, 1);
        QMetaObject::invokeMethod(this, [&ran] { ++ran; }, Qt::QueuedConnection);
        dialog.CheckCancelButton();
        QCOMPARE(ran, 2);
    }

    void platformProgressBelongsToTheMainWindow()
    {
        QMainWindow main;
        main.show();
        QtPlatform platform(&main);
        {
            std::unique_ptr<ProgressWindow> progress = platform.createProgress("Loading Altitude Map...");
            QVERIFY(!main.isEnabled());
            progress->SetRange(0, 4);
            progress->SetStep(1);
            progress->StepIt();
            QCOMPARE(progress->percentText(), std::string("25%"));
            auto* dialog = dynamic_cast<ProgressDialog*>(progress.get());
            QVERIFY(dialog && dialog->isVisible());
            QCOMPARE(dialog->windowTitle(), QString("Loading Altitude Map..."));
        }
        QVERIFY(main.isEnabled());
    }

    void classicFiltersBecomeQtFilters()
    {
        const struct {
            const char* classic;
            const char* qt;
        } cases[] = {
            {"prj files (*.prj)|*.prj|", "prj files (*.prj)"},
            {"PRJ Files (*.prj)|*.prj||", "PRJ Files (*.prj)"},
            {"Bitmaps|*.bmp|All Files|*.*||", "Bitmaps (*.bmp);;All Files (*.*)"},
            {"Macros|*.scm;*.sca;*.api||", "Macros (*.scm *.sca *.api)"},
            {"", ""},
        };
        for (const auto& c : cases)
            QCOMPARE(QtPlatform::convertFilter(c.classic), QString(c.qt));
    }
};

QTEST_MAIN(ProgressDialogTest)
#include "ProgressDialogTest.moc"
