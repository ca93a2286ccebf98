// The main window's print button: the completeness check, the eleven value
// items of the design sheet, the yes/no answer, and printing failures.

#include "formtest.h"
#include "tables.h"

#include "forms/unit1.h"
#include "forms/unit3.h"
#include "forms/unit4.h"

#include <QtTest>

#include <optional>

class TestPrint : public QObject {
    Q_OBJECT

    Recorder rec;
    std::optional<Windows> windows;
    TForm1* form = nullptr;
    TForm3* sheet = nullptr;

    void enter(const QStringList& texts)
    {
        const QList<TEdit*> fields = inputFields(*form);
        for (int i = 0; i < fields.size(); ++i)
            fields[i]->setText(texts[i]);
    }

    QStringList valueTexts() const
    {
        QStringList texts;
        for (QString TForm3::*item :
             {&TForm3::FolioLabel25, &TForm3::FolioLabel26, &TForm3::FolioLabel27,
              &TForm3::FolioLabel28, &TForm3::FolioLabel29, &TForm3::FolioLabel30,
              &TForm3::FolioLabel31, &TForm3::FolioLabel32, &TForm3::FolioLabel33,
              &TForm3::FolioLabel34, &TForm3::FolioLabel36})
            texts << sheet->*item;
        return texts;
    }

private slots:
    void init()
    {
        windows.emplace();
        form = Form1;
        sheet = Form3;
        rec.clear();
    }

    void cleanup() { windows.reset(); }

    void incompleteDesignIsRefused_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::newRow("nothing typed") << QStringList{"", "", "", "", "0", "", ""};
        QTest::newRow("Fs zero") << QStringList{"0", "0.4", "50", "6", "0", "50", "40"};
        QTest::newRow("Vb emptied") << QStringList{"30", "0.4", "50", "6", "0", "50", ""};
    }

    void incompleteDesignIsRefused()
    {
        QFETCH(QStringList, inputs);
        enter(inputs);
        const QStringList before = valueTexts();
        QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].caption, QStringLiteral("Error"));
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Nejsou vyplněny všechny potřebné údaje !!!"));
        QCOMPARE(rec.boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(valueTexts(), before);
        QCOMPARE(before.first(), QStringLiteral("XX"));
    }

    // The fields' texts with their units; the answer from the stored Qtc.
    void valueItemsTakeTheFieldTexts_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("values");
        for (const tables::Design& d : tables::designs) {
            const QStringList in(d.in.begin(), d.in.end());
            QTest::newRow(d.name) << in
                                  << QStringList{in[0] + " Hz",  in[1],
                                                 in[2] + " l",   in[3] + " Ohm",
                                                 in[4] + " Ohm", in[5] + " cm2",
                                                 in[6] + " l",   d.length + QStringLiteral(" cm"),
                                                 d.qtc,          d.fb + QStringLiteral(" Hz"),
                                                 d.shorten};
        }
    }

    void valueItemsTakeTheFieldTexts()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, values);
        enter(inputs);
        QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
        QCOMPARE(valueTexts(), values);
        // No printer here: the print fails and says so in the error box,
        // after the items were filled.
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].caption, platform::Application::title());
        QVERIFY(rec.boxes[0].text.endsWith(QLatin1Char('.')));
        QVERIFY(rec.boxes[0].text.contains(QStringLiteral("tiskárn")));
    }

    void noPrintAfterAnOverflow()
    {
        // An overflow clears the results, so results that belong to other
        // inputs never reach the sheet.
        enter({"30", "0.4", "50", "6", "0", "50", "40"});
        form->Edit1->setText(QStringLiteral("1e99"));
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].text, QStringLiteral("Floating point overflow."));
        rec.clear();
        QTest::mouseClick(form->BitBtn4, Qt::LeftButton);
        QCOMPARE(rec.boxes.size(), 1);
        QCOMPARE(rec.boxes[0].caption, QStringLiteral("Error"));
        QCOMPARE(valueTexts().first(), QStringLiteral("XX"));
    }
};

QTEST_MAIN(TestPrint)
#include "print_test.moc"
