// Start-up: title, help file, the windows and their order, the splash
// timer, and the end of the program when the main window closes.

#include "formtest.h"

#include "startup.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit3.h"
#include "forms/unit4.h"
#include "platform/trace.h"

#include <QSignalSpy>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT

    Recorder rec;

private slots:
    void init()
    {
        platform::Application::reset();
        startUp();
    }

    void cleanup()
    {
        delete Form3;
        delete Form2;
        delete Form1;
        delete Form4;
    }

    void windowsAndApplication()
    {
        QCOMPARE(platform::Application::title(),
                 QStringLiteral("Program na návrh  basreflexové ozvučnice"));
        QCOMPARE(platform::Application::title().size(), 40);
        // The windows keep their own captions; the title is their icon text.
        QCOMPARE(Form1->windowTitle(),
                 QStringLiteral("Program pro výpočet basreflexové ozvučnice"));
        QCOMPARE(Form1->windowIconText(), platform::Application::title());
        QCOMPARE(platform::Application::helpFile(), QStringLiteral("BAS.HLP"));
        QVERIFY(Form1 && Form2 && Form3 && Form4);
        // The splash window was created first: it is the main window.
        QCOMPARE(platform::Application::mainForm(), static_cast<QWidget*>(Form4));
        for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form2, Form3, Form4})
            QVERIFY(!w->isVisible());
        QVERIFY(!QApplication::windowIcon().isNull());
    }

    void splash()
    {
        QCOMPARE(Form4->size(), QSize(257, 169));
        QVERIFY(Form4->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(Form4->Panel1->cursor().shape(), Qt::WaitCursor);
        QCOMPARE(Form4->Timer1->interval(), 3000);
        QCOMPARE(Form4->Timer1->timerType(), Qt::PreciseTimer);
        QVERIFY(Form4->Timer1->isActive());
        QCOMPARE(Form4->TransparentBitmap1->size(), QSize(210, 122));
        QVERIFY(!Form4->TransparentBitmap1->bitMap().isNull());

        // The bevel is a lowered 1-pixel box: shadow at the top and left,
        // highlight at the bottom and right, the panel's colour inside.
        const QImage image = Form4->grab().toImage();
        const QRect bevel = Form4->Bevel1->geometry();
        const QPalette& p = Form4->Bevel1->palette();
        const auto at = [&](int x, int y) { return QColor(image.pixel(x, y)).name(); };
        const QPoint mid = bevel.center();
        QCOMPARE(at(mid.x(), bevel.top()), p.color(QPalette::Dark).name());
        QCOMPARE(at(bevel.left(), mid.y()), p.color(QPalette::Dark).name());
        QCOMPARE(at(mid.x(), bevel.bottom()), p.color(QPalette::Light).name());
        QCOMPARE(at(bevel.right(), mid.y()), p.color(QPalette::Light).name());
        QCOMPARE(at(mid.x(), bevel.top() + 1), p.color(QPalette::Button).name());
        QCOMPARE(at(mid.x(), bevel.bottom() - 1), p.color(QPalette::Button).name());
    }

    void timerFiresOnceAndShowsTheMainWindow()
    {
        Form4->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form4));
        QSignalSpy fired(Form4->Timer1, &QTimer::timeout);
        Form4->Timer1->setInterval(20); // the same handler, sooner
        QTRY_VERIFY(Form1->isVisible());
        QVERIFY(!Form4->isVisible());
        QVERIFY(!Form4->Timer1->isActive());
        QTest::qWait(100);
        QCOMPARE(fired.count(), 1);
        QVERIFY(!Form4->isVisible());
        // Centred on the screen.
        const QRect screen = Form1->screen()->geometry();
        const QPoint offCentre = Form1->frameGeometry().center() - screen.center();
        QVERIFY2(offCentre.manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    }

    void closingTheMainWindowEndsTheProgram()
    {
        Form4->Timer1->setInterval(0);
        QTimer::singleShot(50, Form1, [] { Form1->close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(platform::Application::run(), 0);
        QVERIFY(!Form1->isVisible());
        QVERIFY(!Form4->isVisible());
    }

    // A trace file that cannot be opened is reported, not ignored.
    void unwritableTraceFileIsReported()
    {
        qputenv("VENTBOX_TRACE", "/nonexistent/trace");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("cannot open the trace file /nonexistent/trace"));
        platform::installTraceFromEnvironment();
        qunsetenv("VENTBOX_TRACE");
    }
};

QTEST_MAIN(TestStartup)
#include "startup_test.moc"
