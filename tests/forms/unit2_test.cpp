// The port area window driven as a user would, beside the main window.

#include "formtest.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit4.h"

#include <QClipboard>
#include <QtTest>

#include <memory>

class TestUnit2 : public QObject {
    Q_OBJECT

    Recorder rec;
    std::unique_ptr<TForm4> splash;
    std::unique_ptr<TForm1> main;
    std::unique_ptr<TForm2> form;

    void type(QWidget* field, const QString& text)
    {
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field))
            edit->selectAll();
        else
            static_cast<QAbstractSpinBox*>(field)->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

    // Moves the focus from a circle tab's field to the radius field.
    void leave(QWidget* field)
    {
        QVERIFY(field->hasFocus());
        form->Edit1->setFocus();
        QTRY_VERIFY(!field->hasFocus());
    }

private slots:
    void init()
    {
        platform::Application::reset();
        splash = std::make_unique<TForm4>();
        main = std::make_unique<TForm1>();
        form = std::make_unique<TForm2>();
        main->show();
        main->BitBtn1->click();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        rec.clear();
    }

    void cleanup()
    {
        form.reset();
        main.reset();
        splash.reset();
    }

    void startState()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Výpočet plochy nátrubku"));
        QCOMPARE(form->size(), QSize(281, 193));
        QCOMPARE(form->PageControl1->currentWidget(), form->TabSheet1);
        for (TSpinEdit* count :
             {form->SpinEdit1, form->SpinEdit2, form->SpinEdit3, form->SpinEdit4})
            QCOMPARE(count->text(), QStringLiteral("1"));
        QVERIFY(!form->BitBtn12->isEnabled());
        QCOMPARE(form->Label23->text(), QStringLiteral("Starna a -"));
        // Every button shows a picture (the style may have none for some
        // standard pixmaps: an empty icon would pass unnoticed).
        for (TBitBtn* button : {form->BitBtn12, form->BitBtn1, form->BitBtn2}) {
            const QImage glyph = button->icon().pixmap(button->iconSize()).toImage();
            int opaque = 0;
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x)
                    opaque += qAlpha(glyph.pixel(x, y)) > 128;
            QVERIFY2(opaque > 20, qPrintable(button->objectName()));
        }
    }

    void areas_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("dimensions");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("area");
        QTest::newRow("circle 1") << 0 << QStringList{"1"} << "1"
                                  << "3.1416";
        QTest::newRow("circle 2.5") << 0 << QStringList{"2.5"} << "1"
                                    << "19.6350";
        QTest::newRow("circle 5 x2") << 0 << QStringList{"5"} << "2"
                                     << "157.0796";
        QTest::newRow("circle 10") << 0 << QStringList{"10"} << "1"
                                   << "314.1593";
        QTest::newRow("circle zero") << 0 << QStringList{"0.000"} << "1"
                                     << "";
        QTest::newRow("circle point") << 0 << QStringList{"."} << "1"
                                      << "";
        QTest::newRow("circle second point") << 0 << QStringList{"1.5."} << "1"
                                             << "7.0686";
        QTest::newRow("rectangle") << 1 << QStringList{"10", "5"} << "1"
                                   << "50.0000";
        QTest::newRow("rectangle half up") << 1 << QStringList{"0.25", "0.125"} << "1"
                                           << "0.0313";
        QTest::newRow("rectangle b empty") << 1 << QStringList{"10", ""} << "1"
                                           << "";
        QTest::newRow("rectangle a zero") << 1 << QStringList{"0", "5"} << "1"
                                          << "";
        QTest::newRow("square") << 2 << QStringList{"10"} << "2"
                                << "200.0000";
        QTest::newRow("triangle") << 3 << QStringList{"10"} << "1"
                                  << "43.3013";
        QTest::newRow("triangle x3") << 3 << QStringList{"4"} << "3"
                                     << "20.7846";
        QTest::newRow("triangle factor") << 3 << QStringList{"1000"} << "1"
                                         << "433012.7000";
    }

    void areas()
    {
        QFETCH(int, tab);
        QFETCH(QStringList, dimensions);
        QFETCH(QString, count);
        QFETCH(QString, area);
        const struct {
            QList<TEdit*> dims;
            TSpinEdit* count;
            TEdit* area;
        } tabs[] = {
            {{form->Edit1}, form->SpinEdit2, form->Edit6},
            {{form->edit3, form->Edit5}, form->SpinEdit1, form->Edit4},
            {{form->Edit2}, form->SpinEdit3, form->Edit7},
            {{form->Edit8}, form->SpinEdit4, form->Edit9},
        };
        const auto& t = tabs[tab];
        form->PageControl1->setCurrentIndex(tab);
        for (int i = 0; i < dimensions.size(); ++i)
            type(t.dims[i], dimensions[i]);
        type(t.count, count);
        QCOMPARE(t.area->text(), area);
        QCOMPARE(form->BitBtn12->isEnabled(), !area.isEmpty());
        QVERIFY(rec.beeps.isEmpty());
        QVERIFY(rec.boxes.isEmpty());
    }

    void insertFollowsTheActiveTab()
    {
        type(form->Edit1, "1");
        QVERIFY(form->BitBtn12->isEnabled());
        form->PageControl1->setCurrentWidget(form->TabSheet2);
        QVERIFY(!form->BitBtn12->isEnabled());
        form->PageControl1->setCurrentWidget(form->TabSheet1);
        QVERIFY(form->BitBtn12->isEnabled());
        type(form->Edit1, "");
        QCOMPARE(form->Edit6->text(), QString());
        QVERIFY(!form->BitBtn12->isEnabled());
    }

    void insertRecalculatesTheMainWindow()
    {
        for (auto [field, text] : {std::pair{main->Edit1, "30"},
                                   {main->Edit2, "0.4"},
                                   {main->Edit3, "50"},
                                   {main->Edit4, "6"},
                                   {main->Edit6, "40"}})
            field->setText(QString::fromLatin1(text));
        QCOMPARE(main->Edit8->text(), QString());
        form->PageControl1->setCurrentWidget(form->TabSheet3);
        type(form->Edit2, "10");
        type(form->SpinEdit3, "2");
        QTest::mouseClick(form->BitBtn12, Qt::LeftButton);
        QCOMPARE(main->Edit10->text(), QStringLiteral("200.0000"));
        QVERIFY(!main->Edit8->text().isEmpty());
        QVERIFY(form->isVisible());
        QCOMPARE(form->PageControl1->currentWidget(), form->TabSheet3);
    }

    void longAreaInsertedWhole()
    {
        form->PageControl1->setCurrentWidget(form->TabSheet2);
        type(form->edit3, "1000");
        type(form->Edit5, "12.3456");
        QCOMPARE(form->Edit4->text(), QStringLiteral("12345.6000"));
        QTest::mouseClick(form->BitBtn12, Qt::LeftButton);
        QCOMPARE(main->Edit10->text(), QStringLiteral("12345.6000"));
    }

    void countField()
    {
        type(form->Edit1, "1");
        // Emptied: counts as 1 and stays empty after leaving the field.
        type(form->SpinEdit2, "");
        QCOMPARE(form->Edit6->text(), QStringLiteral("3.1416"));
        leave(form->SpinEdit2);
        QCOMPARE(form->SpinEdit2->text(), QString());
        // A typed 0 counts as 0 until the field is left, then becomes 1.
        type(form->SpinEdit2, "0");
        QCOMPARE(form->Edit6->text(), QStringLiteral("0.0000"));
        QVERIFY(form->BitBtn12->isEnabled());
        leave(form->SpinEdit2);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
        QCOMPARE(form->Edit6->text(), QStringLiteral("3.1416"));
        // Negative counts count; out of range is corrected on leaving.
        type(form->SpinEdit2, "-1");
        QCOMPARE(form->Edit6->text(), QStringLiteral("-3.1416"));
        leave(form->SpinEdit2);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
        QVERIFY(rec.beeps.isEmpty());
    }

    void countArrowsClamp()
    {
        type(form->Edit1, "1");
        form->SpinEdit2->setFocus();
        QTest::keyClick(form->SpinEdit2, Qt::Key_Down);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
        QTest::keyClick(form->SpinEdit2, Qt::Key_Up);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("2"));
        QCOMPARE(form->Edit6->text(), QStringLiteral("6.2832"));
        type(form->SpinEdit2, "999");
        QTest::keyClick(form->SpinEdit2, Qt::Key_Up);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("999"));
        form->SpinEdit2->stepDown(); // the arrow button's step
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("998"));
    }

    void countKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("passes");
        QTest::newRow("digit") << int(Qt::Key_5) << "5" << true;
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << true;
        QTest::newRow("plus") << int(Qt::Key_Plus) << "+" << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << true;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << false;
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << false;
        QTest::newRow("blank") << int(Qt::Key_Space) << " " << false;
    }

    void countKeyFilter()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, passes);
        type(form->SpinEdit2, "1");
        rec.clear();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(form->SpinEdit2, &press);
        QCOMPARE(rec.beeps, passes ? QVector<unsigned>{} : QVector<unsigned>{0});
        if (!passes)
            QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
    }

    void dimensionKeyFilter()
    {
        type(form->Edit1, "2.5");
        rec.clear();
        for (const char* text : {"a", ",", " ", "-"})
            QTest::keyClicks(form->Edit1, QLatin1String(text));
        QCOMPARE(form->Edit1->text(), QStringLiteral("2.5"));
        QCOMPARE(rec.beeps, (QVector<unsigned>{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}));
        QTest::keyClicks(form->Edit1, "123456789");
        QCOMPARE(form->Edit1->text(), QStringLiteral("2.512345"));
    }

    void overflowClearsTheArea()
    {
        type(form->Edit1, "2.5");
        form->Edit1->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("1e99"));
        QTest::keyClick(form->Edit1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Floating point overflow."));
        QCOMPARE(form->Edit6->text(), QString());
        QVERIFY(!form->BitBtn12->isEnabled());
    }

    void closeAndReopenKeepsEverything()
    {
        form->PageControl1->setCurrentWidget(form->TabSheet4);
        type(form->Edit8, "10");
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        QVERIFY(!form->isVisible());
        main->BitBtn1->click();
        QVERIFY(form->isVisible());
        form->close(); // the close box
        QVERIFY(!form->isVisible());
        main->BitBtn1->click();
        main->BitBtn1->click();
        QVERIFY(form->isVisible());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](const QWidget* w) { return qobject_cast<const TForm2*>(w); }),
                 1);
        QCOMPARE(form->PageControl1->currentWidget(), form->TabSheet4);
        QCOMPARE(form->Edit9->text(), QStringLiteral("43.3013"));
        QVERIFY(form->BitBtn12->isEnabled());
    }

    void help()
    {
        type(form->Edit1, "1"); // enables the insert button, so it can take the focus
        rec.clear();
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QCOMPARE(rec.help, (QVector<HelpCall>{{"BAS.HLP", 3, 4}}));
        const std::pair<QWidget*, QVector<HelpCall>> cases[] = {
            {form->Edit1, {{"BAS.HLP", 1, 4}}},
            {form->SpinEdit2, {{"BAS.HLP", 1, 4}}},
            {form->BitBtn12, {{"BAS.HLP", 1, 4}}},
            {form->BitBtn1, {}},
        };
        for (const auto& [widget, expected] : cases) {
            rec.clear();
            widget->setFocus();
            QVERIFY(widget->hasFocus());
            QTest::keyClick(widget, Qt::Key_F1);
            QCOMPARE(rec.help, expected);
        }
    }
};

QTEST_MAIN(TestUnit2)
#include "unit2_test.moc"
