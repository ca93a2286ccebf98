// The port area window driven as a user would, beside the main window.

#include "formtest.h"
#include "tables.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit4.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QTabBar>
#include <QTimer>
#include <QWheelEvent>
#include <QtTest>

#include <optional>

class TestUnit2 : public QObject {
    Q_OBJECT

    Recorder rec;
    std::optional<Windows> windows;
    TForm1* main = nullptr;
    TForm2* form = nullptr;

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
        windows.emplace();
        main = Form1;
        form = Form2;
        main->show();
        main->BitBtn1->click();
        QVERIFY(QTest::qWaitForWindowActive(form));
        rec.clear();
    }

    void cleanup() { windows.reset(); }

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
        for (const tables::Area& a : tables::areas) {
            QStringList dims;
            for (const char* d : a.dims)
                if (d)
                    dims << d;
            QTest::newRow(a.name) << int(a.shape) << dims << a.count << a.text;
        }
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
        QCOMPARE(rec.beeps, 0);
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
        // Not corrected while the field's own menu is open or another
        // window is active, only when another control takes the focus.
        type(form->SpinEdit2, "0");
        QString duringMenu;
        QTimer::singleShot(0, [&] {
            duringMenu = form->SpinEdit2->text();
            if (QWidget* menu = QApplication::activePopupWidget())
                menu->close();
        });
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(5, 5),
                               form->SpinEdit2->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(form->SpinEdit2, &menu);
        QCOMPARE(duringMenu, QStringLiteral("0"));
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("0"));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        leave(form->SpinEdit2);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
        // Negative counts count; out of range is corrected on leaving.
        type(form->SpinEdit2, "-1");
        QCOMPARE(form->Edit6->text(), QStringLiteral("-3.1416"));
        leave(form->SpinEdit2);
        QCOMPARE(form->SpinEdit2->text(), QStringLiteral("1"));
        QCOMPARE(rec.beeps, 0);
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

    void countKeys_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text"); // what the event carries
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("beeps");
        const int ctrl = Qt::ControlModifier;
        // The locale's decimal separator passes, the other one does not.
        const QString point = QLocale::system().decimalPoint(); // locale-ok: a key
        const QString other = point == "," ? "." : ",";
        const auto key = [](const QString& c) {
            return int(c == "," ? Qt::Key_Comma : Qt::Key_Period);
        };
        // clang-format off
        QTest::newRow("digit")             << "1"   << int(Qt::Key_5)         << 0    << "5"    << "15"  << false;
        QTest::newRow("fourth character")  << "123" << int(Qt::Key_4)         << 0    << "4"    << "123" << false;
        QTest::newRow("minus")             << "1"   << int(Qt::Key_Minus)     << 0    << "-"    << "1-"  << false;
        QTest::newRow("plus")              << "1"   << int(Qt::Key_Plus)      << 0    << "+"    << "1+"  << false;
        QTest::newRow("decimal separator") << "1"   << key(point)             << 0    << point  << "1" + point << false;
        QTest::newRow("other separator")   << "1"   << key(other)             << 0    << other  << "1"   << true;
        QTest::newRow("backspace")         << "12"  << int(Qt::Key_Backspace) << 0    << "\b"   << "1"   << false;
        QTest::newRow("ctrl+h")            << "12"  << int(Qt::Key_H)         << ctrl << "\b"   << "1"   << false;
        // Other control characters are taken and change nothing.
        QTest::newRow("ctrl+v")            << "12"  << int(Qt::Key_V)         << ctrl << "\x16" << "12"  << false;
        QTest::newRow("ctrl+z")            << "12"  << int(Qt::Key_Z)         << ctrl << "\x1a" << "12"  << false;
        QTest::newRow("ctrl+backspace")    << "12"  << int(Qt::Key_Backspace) << ctrl << "\b"   << "12"  << false;
        QTest::newRow("ctrl+enter")        << "12"  << int(Qt::Key_Return)    << ctrl << "\r"   << "12"  << false;
        QTest::newRow("enter")             << "12"  << int(Qt::Key_Return)    << 0    << "\r"   << "12"  << true;
        QTest::newRow("ctrl+m")            << "12"  << int(Qt::Key_M)         << ctrl << "\r"   << "12"  << true;
        QTest::newRow("letter")            << "12"  << int(Qt::Key_A)         << 0    << "a"    << "12"  << true;
        QTest::newRow("blank")             << "12"  << int(Qt::Key_Space)     << 0    << " "    << "12"  << true;
        // Steps of one only.
        QTest::newRow("up")                << "5"   << int(Qt::Key_Up)        << 0    << ""     << "6"   << false;
        QTest::newRow("ctrl+up")           << "5"   << int(Qt::Key_Up)        << ctrl << ""     << "6"   << false;
        QTest::newRow("ctrl+down")         << "5"   << int(Qt::Key_Down)      << ctrl << ""     << "4"   << false;
        QTest::newRow("page up")           << "5"   << int(Qt::Key_PageUp)    << 0    << ""     << "5"   << false;
        QTest::newRow("page down")         << "5"   << int(Qt::Key_PageDown)  << 0    << ""     << "5"   << false;
        // clang-format on
    }

    void countKeys()
    {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(bool, beeps);
        type(form->SpinEdit2, before);
        QGuiApplication::clipboard()->setText(QStringLiteral("9"));
        rec.clear();
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(form->SpinEdit2, &press);
        QCOMPARE(form->SpinEdit2->text(), after);
        QCOMPARE(rec.beeps, beeps ? 1 : 0);
    }

    // The arrow buttons and the wheel step by one, also with Ctrl.
    void countMouseSteps_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("arrow") << false << 0;
        QTest::newRow("ctrl+arrow") << false << int(Qt::ControlModifier);
        QTest::newRow("wheel notch") << true << 0;
        QTest::newRow("ctrl+wheel notch") << true << int(Qt::ControlModifier);
    }

    void countMouseSteps()
    {
        QFETCH(bool, wheel);
        QFETCH(int, modifiers);
        TSpinEdit* count = form->SpinEdit2;
        type(count, "5");
        const QPoint upArrow(count->width() - 6, count->height() / 4);
        const auto mods = Qt::KeyboardModifiers(modifiers);
        if (wheel) {
            QWheelEvent notch(upArrow, count->mapToGlobal(upArrow), {}, {0, 120}, Qt::NoButton,
                              mods, Qt::NoScrollPhase, false);
            QApplication::sendEvent(count, &notch);
        } else {
            QTest::mouseClick(count, Qt::LeftButton, mods, upArrow);
        }
        QCOMPARE(count->text(), QStringLiteral("6"));
    }

    void dimensionKeyFilter()
    {
        type(form->Edit1, "2.5");
        rec.clear();
        for (const char* text : {"a", ",", " ", "-"})
            QTest::keyClicks(form->Edit1, QLatin1String(text));
        QCOMPARE(form->Edit1->text(), QStringLiteral("2.5"));
        QCOMPARE(rec.beeps, 4);
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
        const QWidgetList topLevel = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(topLevel.begin(), topLevel.end(),
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
        QCOMPARE(rec.help, (QVector<HelpCall>{{"BAS.HLP", "obsah"}}));
        const std::pair<QWidget*, QVector<HelpCall>> cases[] = {
            {form->Edit1, {{"BAS.HLP", "4"}}},
            {form->SpinEdit2, {{"BAS.HLP", "4"}}},
            {form->BitBtn12, {{"BAS.HLP", "4"}}},
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
