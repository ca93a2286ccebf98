// The main window driven as a user would: keystrokes, pastes, Tab, F1.

#include "formtest.h"
#include "tables.h"

#include "forms/unit1.h"
#include "forms/unit2.h"
#include "forms/unit4.h"

#include "calc/numtext.h"

#include <QAccessible>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <optional>

class TestUnit1 : public QObject {
    Q_OBJECT

    Recorder rec;
    std::optional<Windows> windows;
    TForm1* form = nullptr;

    // Replaces a field's text by typing, as a user selecting it first would.
    void type(TEdit* field, const QString& text)
    {
        field->setFocus();
        field->selectAll();
        if (text.isEmpty())
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, text);
    }

    void typeDesign(const QStringList& texts)
    {
        const QList<TEdit*> fields = inputFields(*form);
        for (int i = 0; i < fields.size(); ++i)
            type(fields[i], texts[i]);
    }

    QStringList results() const
    {
        return {form->Edit9->text(), form->Edit7->text(), form->Edit8->text()};
    }

private slots:
    void init()
    {
        windows.emplace();
        form = Form1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
        rec.clear();
    }

    void cleanup() { windows.reset(); }

    void window()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Program pro výpočet basreflexové ozvučnice"));
        QCOMPARE(form->size(), QSize(505, 217));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        // Created with Re at "0" and the results empty.
        QCOMPARE(form->Edit5->text(), QStringLiteral("0"));
        QCOMPARE(results(), QStringList({"", "", ""}));
    }

    void labelsFitTheirBoxes()
    {
        // Only with the metric-compatible substitute do the captions fit the
        // widths the layout gives them (DejaVu Sans is wider).
        for (const char* name : {"Label1", "Label2", "Label4", "Label13", "Label21"}) {
            const auto* label = form->findChild<QLabel*>(QLatin1String(name));
            QVERIFY(label);
            const int width = QFontMetrics(label->font()).horizontalAdvance(label->text());
            QVERIFY2(width <= label->width() + 1, name);
        }
        QCOMPARE(form->Label1->font().pixelSize(), 11);
        QCOMPARE(form->Label26->font().pixelSize(), 8);
    }

    void examples_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("expected"); // L, Qtc, Fb
        for (const tables::Design& d : tables::designs)
            QTest::newRow(d.name) << QStringList(d.in.begin(), d.in.end())
                                  << QStringList{d.length, d.qtc, d.fb};
        QTest::newRow("zero Vb") << QStringList{"30", "0.4", "50", "6", "0", "50", "0"}
                                 << QStringList{"", "", ""};
        QTest::newRow("empty S") << QStringList{"30", "0.4", "50", "6", "0", "", "40"}
                                 << QStringList{"", "", ""};
    }

    void examples()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, expected);
        typeDesign(inputs);
        QCOMPARE(results(), expected);
        QCOMPARE(rec.beeps, 0);
        QVERIFY(rec.boxes.isEmpty()); // the silent abort stays silent
    }

    void resultsReturnWhenAZeroBecomesPositive()
    {
        typeDesign({"30", "0.4", "50", "6", "0", "50", "0"});
        QCOMPARE(results(), QStringList({"", "", ""}));
        QTest::keyClicks(form->Edit6, ".5");
        QCOMPARE(form->Edit6->text(), QStringLiteral("0.5"));
        QVERIFY(!form->Edit8->text().isEmpty());
    }

    void keyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");  // what the event carries
        QTest::addColumn<QString>("after"); // Qts "0.4" with the cursor before the "4"
        QTest::addColumn<bool>("beeps");
        const int ctrl = Qt::ControlModifier;
        // clang-format off
        QTest::newRow("comma")          << int(Qt::Key_Comma)     << 0    << ","    << "0.4" << true;
        QTest::newRow("minus")          << int(Qt::Key_Minus)     << 0    << "-"    << "0.4" << true;
        QTest::newRow("plus")           << int(Qt::Key_Plus)      << 0    << "+"    << "0.4" << true;
        QTest::newRow("letter e")       << int(Qt::Key_E)         << 0    << "e"    << "0.4" << true;
        QTest::newRow("blank")          << int(Qt::Key_Space)     << 0    << " "    << "0.4" << true;
        QTest::newRow("czech e-caron")  << 0x11A                  << 0    << "ě"    << "0.4" << true;
        // Ctrl+V as Qt's test events deliver it, and as X11 does
        QTest::newRow("ctrl+v qtest")   << int(Qt::Key_V)         << ctrl << "v"    << "0.4" << true;
        QTest::newRow("ctrl+v x11")     << int(Qt::Key_V)         << ctrl << "\x16" << "0.4" << true;
        QTest::newRow("ctrl+c")         << int(Qt::Key_C)         << ctrl << "\x03" << "0.4" << true;
        QTest::newRow("ctrl+x")         << int(Qt::Key_X)         << ctrl << "x"    << "0.4" << true;
        QTest::newRow("ctrl+z")         << int(Qt::Key_Z)         << ctrl << "\x1a" << "0.4" << true;
        QTest::newRow("escape")         << int(Qt::Key_Escape)    << 0    << "\x1b" << "0.4" << true;
        // Characters typed with Ctrl (127, 10, the blank), not Qt's editing keys
        QTest::newRow("ctrl+backspace") << int(Qt::Key_Backspace) << ctrl << "\b"   << "0.4" << true;
        QTest::newRow("ctrl+enter")     << int(Qt::Key_Return)    << ctrl << "\r"   << "0.4" << true;
        QTest::newRow("ctrl+space")     << int(Qt::Key_Space)     << ctrl << " "    << "0.4" << true;
        QTest::newRow("ctrl+delete")    << int(Qt::Key_Delete)    << ctrl << ""     << "0.4" << false;
        // Characters 8 and 13 typed with Ctrl: Backspace and Enter
        QTest::newRow("ctrl+h qtest")   << int(Qt::Key_H)         << ctrl << "h"    << "04"  << false;
        QTest::newRow("ctrl+h x11")     << int(Qt::Key_H)         << ctrl << "\b"   << "04"  << false;
        QTest::newRow("ctrl+m qtest")   << int(Qt::Key_M)         << ctrl << "m"    << "0.4" << false;
        QTest::newRow("ctrl+m x11")     << int(Qt::Key_M)         << ctrl << "\r"   << "0.4" << false;
        QTest::newRow("digit")          << int(Qt::Key_7)         << 0    << "7"    << "0.74" << false;
        QTest::newRow("keypad digit")   << int(Qt::Key_7) << int(Qt::KeypadModifier) << "7" << "0.74" << false;
        QTest::newRow("point")          << int(Qt::Key_Period)    << 0    << "."    << "0..4" << false;
        QTest::newRow("enter")          << int(Qt::Key_Return)    << 0    << "\r"   << "0.4" << false;
        // clang-format on
    }

    void keyFilter()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(bool, beeps);
        type(form->Edit2, "0.4");
        form->Edit2->setCursorPosition(2);
        QGuiApplication::clipboard()->setText(QStringLiteral("99"));
        rec.clear();

        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(form->Edit2, &press);

        QCOMPARE(form->Edit2->text(), after);
        QCOMPARE(rec.beeps, beeps ? 1 : 0);
    }

    void editingKeysAreNotFiltered_data()
    {
        QTest::addColumn<QString>("deleteText");
        QTest::newRow("qtest delete") << QString();
        QTest::newRow("x11 delete") << QStringLiteral("\x7f");
    }

    void editingKeysAreNotFiltered()
    {
        QFETCH(QString, deleteText);
        type(form->Edit1, "123");
        rec.clear();
        QTest::keyClick(form->Edit1, Qt::Key_Home);
        QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, deleteText);
        QApplication::sendEvent(form->Edit1, &del);
        QTest::keyClick(form->Edit1, Qt::Key_End);
        QTest::keyClick(form->Edit1, Qt::Key_Backspace);
        QCOMPARE(form->Edit1->text(), QStringLiteral("2"));
        QCOMPARE(rec.beeps, 0);
    }

    void maxLengths_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("limit");
        for (const auto& [name, limit] :
             std::initializer_list<std::pair<const char*, int>>{{"Edit1", 4},
                                                                {"Edit2", 9},
                                                                {"Edit3", 5},
                                                                {"Edit4", 5},
                                                                {"Edit5", 5},
                                                                {"Edit10", 8},
                                                                {"Edit6", 5}})
            QTest::newRow(name) << QString::fromLatin1(name) << limit;
    }

    void maxLengths()
    {
        QFETCH(QString, field);
        QFETCH(int, limit);
        auto* edit = form->findChild<TEdit*>(field);
        QVERIFY(edit);
        type(edit, "1234567890123");
        QCOMPARE(edit->text(), QStringLiteral("1234567890123").left(limit));
        QCOMPARE(rec.beeps, 0);
    }

    void fsTakesFourCharacters()
    {
        type(form->Edit1, "12.5");
        QCOMPARE(form->Edit1->text(), QStringLiteral("12.5"));
        type(form->Edit1, "123.4");
        QCOMPARE(form->Edit1->text(), QStringLiteral("123."));
    }

    void programSetTextIsNotCut()
    {
        form->Edit10->setText(QStringLiteral("12345.6789"));
        QCOMPARE(form->Edit10->text(), QStringLiteral("12345.6789"));
    }

    // Pasted and composed text passes no key filter; it is cut to the first
    // line and to the room that the field's limit leaves.
    void pasteAndInputMethod_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("selected"); // the design's text selected, or emptied first
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("text"); // the clipboard's, or the committed text
        QTest::addColumn<QString>("after");
        // clang-format off
        QTest::newRow("context menu")          << "Edit1" << false << "menu"   << "1,5e-3x" << "1,5e";
        QTest::newRow("shift+insert")          << "Edit1" << false << "key"    << "1,5e-3x" << "1,5e";
        QTest::newRow("CR ends the line")      << "Edit1" << false << "key"    << "12\r34"  << "12";
        QTest::newRow("empty first line")      << "Edit2" << true  << "key"    << "\n5"     << "";
        QTest::newRow("input method, cut")     << "Edit1" << false << "method" << "123456"  << "1234";
        // clang-format on
    }

    void pasteAndInputMethod()
    {
        QFETCH(QString, field);
        QFETCH(bool, selected);
        QFETCH(QString, way);
        QFETCH(QString, text);
        QFETCH(QString, after);
        typeDesign(QStringList(tables::designs[0].in.begin(), tables::designs[0].in.end()));
        auto* edit = form->findChild<TEdit*>(field);
        QVERIFY(edit);
        if (selected)
            edit->selectAll();
        else
            type(edit, "");
        rec.clear();
        if (way == "menu") {
            QGuiApplication::clipboard()->setText(text);
            QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    edit->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(edit, &event);
            QMenu* menu = nullptr;
            QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
            QAction* paste = TEdit::pasteAction(menu);
            QVERIFY(paste);
            paste->trigger();
            menu->close();
        } else if (way == "key") {
            QGuiApplication::clipboard()->setText(text);
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(edit, &commit);
        }
        QCOMPARE(edit->text(), after);
        // The results follow the new text.
        QCOMPARE(form->Edit8->text().isEmpty(), after.isEmpty());
        QCOMPARE(rec.beeps, 0);
    }

    void emptyingReClearsButKeepsQtc()
    {
        typeDesign({"30", "0.4", "50", "6", "0", "50", "40"});
        const calc::Real48 qtc = form->Qtc;
        QCOMPARE(calc::realToText(qtc, 5, 4), std::string("0.5580"));
        type(form->Edit5, "");
        QCOMPARE(results(), QStringList({"", "", ""}));
        QCOMPARE(form->Qtc, qtc);
    }

    void sameTextRunsNoRecalculation()
    {
        typeDesign({"30", "0.4", "50", "6", "0", "50", "40"});
        form->Edit9->setText(QStringLiteral("marker"));
        form->Edit10->setText(QStringLiteral("50"));
        QCOMPARE(form->Edit9->text(), QStringLiteral("marker"));
        form->Edit10->setText(QStringLiteral("50.0"));
        QCOMPARE(form->Edit9->text(), QStringLiteral("31.5450"));
    }

    void overflowShowsTheErrorBoxAndClears()
    {
        typeDesign({"30", "0.4", "50", "6", "0", "50", "40"});
        rec.clear();
        form->Edit1->selectAll();
        QGuiApplication::clipboard()->setText(QStringLiteral("1e99"));
        QTest::keyClick(form->Edit1, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(form->Edit1->text(), QStringLiteral("1e99"));
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].caption, QStringLiteral("Program na návrh  basreflexové ozvučnice"));
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Floating point overflow."));
        QCOMPARE(rec.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(results(), QStringList({"", "", ""}));
    }

    void resultFieldsAreReadOnlyButCopyable()
    {
        typeDesign({"9", "0.3", "10", "6", "0", "10", "100"});
        form->Edit8->setFocus();
        QVERIFY(form->Edit8->hasFocus());
        QTest::keyClick(form->Edit8, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form->Edit8, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral(" 6.58"));
        QTest::keyClicks(form->Edit8, "5");
        QTest::keyClick(form->Edit8, Qt::Key_Backspace);
        QCOMPARE(form->Edit8->text(), QStringLiteral(" 6.58"));
        QCOMPARE(rec.beeps, 0);
    }

    void tabOrder()
    {
        const QStringList expected{"Edit1",  "Edit2",   "Edit3",   "Edit4",   "Edit5",
                                   "Edit10", "Edit6",   "BitBtn1", "Edit9",   "Edit7",
                                   "Edit8",  "BitBtn4", "BitBtn3", "BitBtn2", "Edit1"};
        form->Edit1->setFocus();
        QStringList seen{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(seen, expected);
    }

    void groupCaptionsInTheirColours()
    {
        const std::pair<TGroupBox*, QColor> groups[] = {
            {form->GroupBox1, QColor(255, 0, 0)},
            {form->GroupBox3, QColor(0, 0, 255)},
            {form->GroupBox2, QColor(0, 128, 0)},
        };
        for (const auto& [box, colour] : groups) {
            const QImage image = box->grab().toImage();
            int hits = 0;
            for (int y = 0; y < 14; ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    hits += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green())
                            + std::abs(c.blue() - colour.blue())
                        < 60;
                }
            }
            QVERIFY2(hits > 15, qPrintable(box->objectName()));
            QVERIFY(box->font().bold());
        }
        // The labels inside are regular black, not the caption's font.
        QVERIFY(!form->Label1->font().bold());
    }

    // A screen reader finds every field, button and tab page named, and the
    // windows as windows by their captions. The names it reads are held by
    // e2e/desktop_test.py.
    void accessibleNames()
    {
        QWidgetList named;
        for (QWidget* window : std::initializer_list<QWidget*>{form, Form2}) {
            for (QWidget* w : window->findChildren<QWidget*>()) {
                if (qobject_cast<TEdit*>(w) || qobject_cast<TSpinEdit*>(w)
                    || qobject_cast<TBitBtn*>(w))
                    named << w;
            }
            QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(window);
            QCOMPARE(frame->role(), QAccessible::Window);
            QCOMPARE(frame->text(QAccessible::Name), window->windowTitle());
        }
        for (int i = 0; i < Form2->PageControl1->count(); ++i)
            named << Form2->PageControl1->widget(i);
        for (QWidget* w : named) {
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty() && !name.contains(u'&'), qPrintable(w->objectName()));
        }
    }

    void helpRequests()
    {
        const std::pair<QWidget*, QVector<HelpCall>> cases[] = {
            {form->Edit2, {{"BAS.HLP", "1"}}},
            {form->Edit6, {{"BAS.HLP", "2"}}},
            {form->BitBtn1, {{"BAS.HLP", "2"}}},
            {form->Edit9, {{"BAS.HLP", "3"}}},
            {form->BitBtn4, {}},
            {form->BitBtn2, {}},
        };
        for (const auto& [widget, expected] : cases) {
            rec.clear();
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_F1);
            QCOMPARE(rec.help, expected);
        }
        rec.clear();
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        QCOMPARE(rec.help, (QVector<HelpCall>{{"BAS.HLP", "obsah"}}));
    }

    // With no help viewer to start, F1 and the help button show the error
    // box; the window goes on.
    void helpViewerThatCannotStart_data()
    {
        QTest::addColumn<bool>("missing"); // else a file that is no program
        QTest::newRow("missing") << true;
        QTest::newRow("not a program") << false;
    }

    void helpViewerThatCannotStart()
    {
        QFETCH(bool, missing);
        QTemporaryDir dir;
        QString viewer = QStringLiteral("missing-help-viewer");
        if (!missing) {
            viewer = dir.filePath(QStringLiteral("ventbox-help.exe"));
            QFile file(viewer);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("text") == 4);
        }
        const auto hook = platform::Application::setHelpHook({});
        platform::Application::setHelpViewer(viewer);
        const auto restore = qScopeGuard([&] {
            platform::Application::setHelpHook(hook);
            platform::Application::setHelpViewer(QStringLiteral("ventbox-help"));
        });
        form->Edit2->setFocus();
        QTest::keyClick(form->Edit2, Qt::Key_F1);
        QTest::mouseClick(form->BitBtn3, Qt::LeftButton);
        QCOMPARE(rec.boxes.size(), 2);
        for (const platform::MessageBoxRequest& box : rec.boxes) {
            QCOMPARE(box.caption, platform::Application::title());
            QCOMPARE(box.icon, QMessageBox::Critical);
            QVERIFY2(box.text.startsWith(QStringLiteral("Nápovědu nelze zobrazit"))
                         && box.text.endsWith(u'.'),
                     qPrintable(box.text));
        }
        const tables::Design& d = tables::designs[0];
        typeDesign(QStringList(d.in.begin(), d.in.end()));
        QCOMPARE(results(), (QStringList{d.length, d.qtc, d.fb}));
    }

    // Qt's own texts speak Czech like the rest: a field's context menu.
    void contextMenuInCzech()
    {
        const std::unique_ptr<QMenu> menu(form->Edit1->createStandardContextMenu());
        QStringList texts;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator())
                texts << action->text().section(u'\t', 0, 0);
        }
        QCOMPARE(texts,
                 (QStringList{"&Zpět", "&Znovu", "&Vyjmout", "&Kopírovat", "&Vložit", "Smazat",
                              "Vybrat vše"}));
    }

    void closingEndsTheEventLoop_data()
    {
        QTest::addColumn<bool>("viaButton");
        QTest::newRow("close box") << false;
        QTest::newRow("exit button") << true;
    }

    void closingEndsTheEventLoop()
    {
        QFETCH(bool, viaButton);
        QCOMPARE(platform::Application::mainForm(), Form4);
        QTimer::singleShot(0, form, [&] {
            if (viaButton)
                QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
            else
                form->close();
        });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestUnit1)
#include "unit1_test.moc"
